#include "src/ui/keyboard.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>
#include <set>

#include "src/common/assertion.h"
#include "src/ui/gkc_initializer.h"

using namespace KeyboardGeometry;

namespace {
// The modes in which the piano shows key states, with no octave fades of the hover modes.
bool IsKeyMode(Keyboard::KMode mode) {
  return mode == Keyboard::Input || mode == Keyboard::Display;
}
}  // namespace

Keyboard::Keyboard(QWidget* parent, Qt::WindowFlags flags) : MusicControl(parent, flags) {
  qRegisterMetaType<KeysStateMap>("KeysStateMap");
  setEnabled(true);
  switchMode(Input);
  GKCinitializer::Init();
  setAttribute(Qt::WA_MouseTracking);
}

void Keyboard::switchMode(KMode mode) {
  setEnabled(true);
  if (mode == m_mode) return;
  if (mode == HoverKeys) m_hoveredKey = -1;
  if (mode == HoverOctaves) m_hoveredOctave = -1;
  const bool sameFades =
      IsKeyMode(mode) && IsKeyMode(m_mode) && (m_acceptsInput || !fadeWhenDisabled);
  m_mode = mode;
  if (!sameFades) {
    update();
    return;
  }
  // Between input and display only the pressed and the mouse-over key may look different: the
  // verdict that shows the answer's keys does not redraw the whole piano.
  for (int key : {m_pressedKey, m_mouseOverKey})
    if (IsKey(key)) m_keys[size_t(key)].repaint = true;
  updateKeysState();
}

void Keyboard::Enable(bool on) {
  if (on == m_acceptsInput) return;
  m_acceptsInput = on;
  // Every answer turns the keys off: unless they dim, only the key under the mouse changes its
  // look, and the verdict's paint need not hold the whole piano.
  if (Dims() != m_dimmedWhenPainted) {
    update();
  } else if (IsKey(m_mouseOverKey)) {
    m_keys[size_t(m_mouseOverKey)].repaint = true;
    updateKeysState();
  }
}

bool Keyboard::Dims() const {
  return !m_acceptsInput && m_mode == Input && fadeWhenDisabled;
}

void Keyboard::setWidth(float width) {
  m_scaleX = width / float(DesignWidth);
}

void Keyboard::setHeight(float height) {
  m_scaleY = height / float(DesignHeight);
}

void Keyboard::resizeEvent(QResizeEvent* event) {
  setWidth(float(event->size().width()));
  setHeight(float(event->size().height()));
  MusicControl::resizeEvent(event);
}

const KeyState& Keyboard::keyState(int key) const {
  MELVARIN_ASSERT(IsKey(key));
  return m_keys[size_t(key)];
}

void Keyboard::highlightKeys(const std::vector<int>& first, const std::vector<int>& second) {
  for (KeyState& state : m_keys) state.repaint = state.highlight != KeyState::None;
  // Callers pass MIDI notes less 21 unchecked: anything off the piano is dropped.
  for (const auto& [keys, highlight] :
       {std::pair{&first, int(KeyState::Green)}, std::pair{&second, int(KeyState::Red)}}) {
    for (int key : *keys) {
      if (!IsKey(key)) continue;
      m_keys[size_t(key)].highlight = highlight;
      m_keys[size_t(key)].repaint = true;
    }
  }
  update();
}

void Keyboard::setPressedKey(bool pressed, int key) {
  if (!IsKey(key)) return;
  m_keys[size_t(key)].pressed = pressed;
  m_keys[size_t(key)].repaint = true;
  update();
}

void Keyboard::changeKeysState(const KeysStateMap& newState) {
  updateKeysState(newState);
}

void Keyboard::updateKeysState(KeysStateMap newState) {
  for (const auto& [key, state] : newState) {
    if (!IsKey(key)) continue;
    KeyState& stored = m_keys[size_t(key)];
    if (stored.SameAs(state)) continue;
    stored = state;
    stored.repaint = true;
  }
  for (int key = 0; key < KeyCount; ++key) {
    KeyState& stored = m_keys[size_t(key)];
    if (newState.count(key) || (!stored.pressed && stored.highlight == KeyState::None)) continue;
    stored.pressed = false;
    stored.highlight = KeyState::None;
    stored.repaint = true;
  }
  updateKeysState();
}

void Keyboard::updateKeysState() {
  const auto& keys = GKCinitializer::Keys();
  QRegion region;
  bool marked = false;
  for (int key = 0; key < KeyCount; ++key) {
    if (!m_keys[size_t(key)].repaint) continue;
    marked = true;
    const GKCKeyPositon& position = keys[size_t(key)];
    region += scaleKeyRect(position.upper);
    if (position.white) region += scaleKeyRect(position.lower);
    // A white key's image reaches under the black keys beside it and shows past their rounded
    // ends: all of it is drawn again, or a verdict's colour would stay there.
    const QPixmap& image = keyImage(key);
    region += scaleKeyRect(QRectF(position.drawPosition, QSizeF(image.size())));
  }
  if (marked) repaint(region);
}

void Keyboard::cleanAllKeys() {
  // Every key that shows a colour, a pressed look or the pointer's look is drawn again by the
  // caller's repaint; a verdict's keys would otherwise stay lit into the next question.
  for (int key = 0; key < KeyCount; ++key) {
    KeyState& state = m_keys[size_t(key)];
    if (state.pressed || state.highlight != KeyState::None || key == m_mouseOverKey)
      state.repaint = true;
    state.highlight = KeyState::None;
    state.pressed = false;
  }
  m_mouseOverKey = -1;
}

void Keyboard::changeFingersMode(bool fnigersOn) {
  if (fnigersOn == m_fingers) return;
  m_fingers = fnigersOn;
  repaint();
}

QRect Keyboard::scaleKeyRect(const QRectF& rect) const {
  auto scaled = [](double value, double scale) { return int(std::trunc(value * scale)); };
  return QRect(QPoint(scaled(rect.x(), m_scaleX), scaled(rect.y(), m_scaleY)),
               QPoint(scaled(rect.x() + rect.width(), m_scaleX),
                      scaled(rect.y() + rect.height(), m_scaleY)));
}

int Keyboard::getKeyByPos(int x, int y) const {
  const auto& keys = GKCinitializer::Keys();
  // A piano squeezed to nothing has no keys to hit.
  if (keys.empty() || m_scaleX <= 0 || m_scaleY <= 0) return -1;
  const QPointF design(std::trunc(x / m_scaleX), std::trunc(y / m_scaleY));
  for (int key = 0; key < int(keys.size()); ++key) {
    const GKCKeyPositon& position = keys[size_t(key)];
    if (position.upper.contains(design) || (position.white && position.lower.contains(design)))
      return key;
  }
  return -1;
}

const QPixmap& Keyboard::keyImage(int key) const {
  const KeyState& state = m_keys[size_t(key)];
  const int index = GKCinitializer::Keys()[size_t(key)].pixmapIndex;
  switch (state.highlight) {
    case KeyState::None:
      break;
    case KeyState::Green:
      return GKCinitializer::Image(GKCinitializer::Green, index);
    case KeyState::Blue:
      return GKCinitializer::Image(GKCinitializer::Blue, index);
    default:
      return GKCinitializer::Image(GKCinitializer::Red, index);
  }
  if (key == m_pressedKey && m_mode == Input && state.pressed)
    return GKCinitializer::Image(GKCinitializer::Pressed, index);
  if (m_acceptsInput && key == m_mouseOverKey && (m_mode != Input || !state.pressed))
    return GKCinitializer::Image(GKCinitializer::Hover, index);
  return GKCinitializer::Image(GKCinitializer::Normal, index);
}

void Keyboard::drawKey(int key, QPainter& painter) {
  painter.drawPixmap(GKCinitializer::Keys()[size_t(key)].drawPosition, keyImage(key));
  m_keys[size_t(key)].repaint = false;
}

void Keyboard::drawOctave(int group, QPainter& painter) {
  const auto& keys = GKCinitializer::Keys();
  painter.save();
  painter.scale(m_scaleX, m_scaleY);
  // White keys first: the black ones lie over them.
  for (bool white : {true, false}) {
    for (int key = GroupBegin(group); key < GroupEnd(group); ++key) {
      if (keys[size_t(key)].white == white) drawKey(key, painter);
    }
  }
  painter.restore();
}

void Keyboard::drawFades(QPainter& painter) {
  painter.save();
  painter.scale(m_scaleX, m_scaleY);
  const QPixmap& left = GKCinitializer::HighlightLeft();
  const QPixmap& right = GKCinitializer::HighlightRight();
  const bool hovering = (m_mode == HoverKeys || m_mode == HoverOctaves) && m_hoveredOctave >= 0;
  const bool disabled = Dims();
  m_dimmedWhenPainted = disabled;
  for (int strip = 0; strip < GroupCount; ++strip) {
    const QRectF area = GroupStrip(strip);
    if (hovering && strip != m_hoveredOctave) {
      painter.fillRect(area, GKCinitializer::FadeBrush());
      if (strip == m_hoveredOctave - 1) {
        painter.drawPixmap(QRectF(area.right() - left.width(), 0, left.width(), DesignHeight), left,
                           QRectF(left.rect()));
      }
      if (strip == m_hoveredOctave + 1) {
        const double width = strip == 8 ? 35.0 : right.width();
        painter.drawPixmap(QRectF(area.x(), 0, width, DesignHeight), right, QRectF(right.rect()));
      }
    }
    if (disabled) painter.fillRect(area, GKCinitializer::FadeBrush());
  }
  painter.restore();
}

void Keyboard::paintEvent(QPaintEvent* event) {
  MusicControl::paintEvent(event);
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  // Each rectangle of the region is drawn on its own, with every group it meets. A key's edge
  // shares its pixels with its neighbour's, which may belong to the next group or the one before,
  // and a clip of several rectangles draws the scaled key images a shade otherwise at their edges
  // than a clip of one: so keys drawn again look just as when the whole piano is drawn.
  const QRegion& region = event->region();
  std::set<int> groups;
  for (const QRect& part : region) {
    painter.setClipRect(part);
    for (int group = 0; group < GroupCount; ++group) {
      if (!part.intersects(scaleKeyRect(GroupStrip(group)))) continue;
      groups.insert(group);
      drawOctave(group, painter);
    }
    drawFades(painter);
  }
  m_paintedGroups.assign(groups.begin(), groups.end());
}

void Keyboard::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (m_mode != Input || !m_acceptsInput) return;
  const QPoint at = event->position().toPoint();
  const int key = getKeyByPos(at.x(), at.y());
  if (!IsKey(key)) return;
  m_keys[size_t(key)].pressed = true;
  m_keys[size_t(key)].repaint = true;
  updateKeysState();
  emit keyPressed(key);
  m_pressedKey = key;
}

void Keyboard::releaseHeldKey() {
  if (m_pressedKey == -1) return;
  const int key = m_pressedKey;
  m_pressedKey = -1;
  emit keyReleased(key);
}

void Keyboard::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (m_mode != Input && m_mode != Display) return;
  if (m_pressedKey != -1) m_keys[size_t(m_pressedKey)].repaint = true;
  releaseHeldKey();
  updateKeysState();
}

void Keyboard::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const int key = getKeyByPos(at.x(), at.y());
  switch (m_mode) {
    case Input:
      if (key == m_pressedKey) {
        const bool changed = key != m_mouseOverKey;
        m_mouseOverKey = key;
        if (m_acceptsInput && changed) update();
      } else {
        // Dragging off a held key lets it go; the key dragged onto is not pressed.
        releaseHeldKey();
        m_mouseOverKey = key;
        update();
      }
      break;
    case HoverKeys:
      if (key == m_hoveredKey) break;
      m_hoveredOctave = Group(key);
      m_hoveredKey = key;
      emit hover(key);
      update();
      break;
    case HoverOctaves: {
      const int group = Group(key);
      if (group == m_hoveredOctave) break;
      if (group == 0 || group == 8) {
        m_hoveredOctave = m_hoveredKey = -1;
        emit hover(-1);
      } else {
        m_hoveredOctave = group;
        emit hover(key);
      }
      update();
      break;
    }
    default:
      break;
  }
}

void Keyboard::leaveEvent(QEvent* event) {
  if (m_mode == Input || m_mode == Display) {
    releaseHeldKey();
  } else if (m_mode == HoverKeys || m_mode == HoverOctaves) {
    m_hoveredOctave = m_hoveredKey = -1;
    emit hover(-1);
    update();
  }
  if (m_mouseOverKey != -1) {
    m_mouseOverKey = -1;
    update();
  }
  MusicControl::leaveEvent(event);
}
