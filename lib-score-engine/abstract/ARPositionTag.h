#pragma once

#include <cstdint>

class ARMusicalObject;

// The second base of every tag that spans a range of events. A begin tag and its end marker point
// at each other; while they do, the end position is the end marker's own position.
class ARPositionTag {
 public:
  ARPositionTag() = default;
  ARPositionTag(ARPositionTag const&) = delete;
  ARPositionTag& operator=(ARPositionTag const&) = delete;
  virtual ~ARPositionTag() = default;

  virtual ARMusicalObject* Copy() const { return nullptr; }
  // Positions are nodes of the voice's object list.
  virtual void setPosition(void* pos) { position = pos; }
  virtual void* getPosition() const { return position; }
  virtual void* getStartPosition() const { return getPosition(); }
  virtual void setStartPosition(void* pos) { setPosition(pos); }
  virtual void* getEndPosition() const;
  virtual void setEndPosition(void* pos);
  virtual void setCorrespondence(ARPositionTag* tag) { correspondence = tag; }
  virtual ARPositionTag* getCorrespondence() const { return correspondence; }
  virtual bool isEndTagClass() const { return false; }
  // What isEndTagClass() and getPosition() answer, read without a call: the voice walks ask
  // them for the next range tag at every step. Only end markers (ARTagEnd) answer true.
  bool isEndMarker() const { return mEndMarker; }
  void* placedAt() const { return position; }
  // What a voice state found out about the tag's class the first time it opened its range; 0
  // until then (ARMusicalVoiceState::AddPositionTag).
  std::uint8_t getRangeKind() const { return mRangeKind; }
  void setRangeKind(std::uint8_t kind) const { mRangeKind = kind; }

 protected:
  // For the end markers.
  explicit ARPositionTag(bool endMarker) : mEndMarker(endMarker) {}

  void* position = nullptr;
  void* endPosition = nullptr;
  ARPositionTag* correspondence = nullptr;

 private:
  bool const mEndMarker = false;
  mutable std::uint8_t mRangeKind = 0;
};
