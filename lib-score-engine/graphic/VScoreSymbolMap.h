#pragma once

class CScoreElement;
class VGDevice;
struct ScoreElementDesc;

// The score symbol map as elements and the application see it: elements add themselves while a
// page draws, the page finishes the map into a tree, and the application queries the tree.
class VScoreSymbolMap {
 public:
  virtual ~VScoreSymbolMap() = default;

  virtual void AddElement(VGDevice const& device, ScoreElementDesc const& desc) = 0;
  virtual void Finish() = 0;
  virtual void SetDent(VGDevice const& device, float dent) = 0;
  virtual void Reset() = 0;
  virtual bool IsEmpty() const = 0;
  virtual float GetDent() const = 0;
  virtual CScoreElement* GetRootElement() const = 0;
  virtual int ElementCount() const = 0;
  virtual int ElementCountForType(int kind) const = 0;
  virtual CScoreElement const* GetElement(int index) const = 0;
  virtual float GetMinDate() const = 0;
  virtual float GetMaxDate() const = 0;
  virtual CScoreElement* FindNthElementOfType(int kind, int n, CScoreElement* from) const = 0;
  virtual CScoreElement* FindNearestSubElement(int kind, float x, float y) const = 0;
  virtual CScoreElement* FindEventHitBy(float x, float y) const = 0;
};
