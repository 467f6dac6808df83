#pragma once

// The 88-key on-screen piano. It shows each key's answer state with coloured key images, plays
// notes with the mouse (keyPressed and keyReleased carry the piano key index, 0 for A0 to 87 for
// C8) and, on the statistics view, reports the key or octave under the pointer (hover). The keys
// live in a design space of 1820 x 180 units that the widget scales to its size. A change of key
// states repaints at once, and only the octave groups of the keys that changed.

#include <array>
#include <vector>

#include "src/ui/key_state.h"
#include "src/ui/keyboard_geometry.h"
#include "src/ui/music_control.h"

class QPainter;

class Keyboard : public MusicControl {
  Q_OBJECT

 public:
  using KMode = int;
  static constexpr KMode Input = 0;         // the mouse plays keys
  static constexpr KMode Display = 1;       // states only
  static constexpr KMode HoverKeys = 2;     // reports the key under the pointer
  static constexpr KMode HoverOctaves = 3;  // reports the octave under the pointer

  explicit Keyboard(QWidget* parent = nullptr, Qt::WindowFlags flags = {});

  void switchMode(KMode mode);
  KMode mode() const { return m_mode; }
  // Whether the mouse may play keys; the keys dim while it may not when fadeWhenDisabled is set.
  void Enable(bool on);
  void setWidth(float width);
  void setHeight(float height);

  // Keys of `first` turn green, then keys of `second` red; other keys keep their colour. Key
  // indexes outside 0..87 are ignored, here and in the two calls below.
  void highlightKeys(const std::vector<int>& first, const std::vector<int>& second);
  void setPressedKey(bool pressed, int key);
  void changeKeysState(const KeysStateMap& newState);
  // Clears every key; callers follow it with a call that repaints.
  void cleanAllKeys();
  // Repaints the marked keys at once, through a region that holds only them.
  void updateKeysState();

  // The key under a widget point, or -1.
  int getKeyByPos(int x, int y) const;
  QRect scaleKeyRect(const QRectF& rect) const;
  const KeyState& keyState(int key) const;
  // The octave groups the last paint drew, in ascending order.
  const std::vector<int>& paintedGroups() const { return m_paintedGroups; }

  bool fadeWhenDisabled = false;

 signals:
  void hover(int index);
  void keyPressed(int key);
  void keyReleased(int key);

 public slots:
  void updateKeysState(KeysStateMap newState);
  void changeFingersMode(bool fnigersOn);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void drawKey(int key, QPainter& painter);
  void drawOctave(int group, QPainter& painter);
  void drawFades(QPainter& painter);
  const QPixmap& keyImage(int key) const;
  void releaseHeldKey();
  // Whether the keys show dimmed now.
  bool Dims() const;

  bool m_fingers = false;
  double m_scaleX = 1.0;
  double m_scaleY = 1.0;
  KMode m_mode = Input;
  int m_hoveredOctave = -1;
  int m_hoveredKey = -1;
  int m_pressedKey = -1;
  std::array<KeyState, KeyboardGeometry::KeyCount> m_keys{};
  bool m_acceptsInput = true;
  int m_mouseOverKey = -1;
  bool m_dimmedWhenPainted = false;
  std::vector<int> m_paintedGroups;
};
