#pragma once

// The floor of drawing a score: the same ink on the same page without the engine. A device that
// draws as the application's does also writes down every call the engine makes on it; replaying
// those calls on a fresh device over a cleared page costs what the device and the raster engine
// cost, and nothing of the engine's walk over its elements.

#include <QImage>
#include <QPainter>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Razid.h"
#include "RazidDrawTypes.h"
#include "lib-razid-qt/GDeviceQt.h"
#include "lib-razid-qt/GSystemQt.h"
#include "lib-razid-qt/engine_fonts.h"

namespace Bench {

class InkRecorder final : public GDeviceQt {
 public:
  using Step = std::function<void(VGDevice&)>;

 private:
  // Only the engine's own calls are written down, not those a device method makes on itself.
  void Note(Step step) {
    if (mDepth == 0) steps.push_back(std::move(step));
  }
  template <class Call>
  auto Inner(Call call) {
    struct Depth {
      int& depth;
      explicit Depth(int& d) : depth(++d) {}
      ~Depth() { --depth; }
    } inside(mDepth);
    return call();
  }

  int mDepth = 0;

 public:
  InkRecorder(QPainter* painter, GSystemQt* system) : GDeviceQt(painter, system) {
    AdoptFonts(system->CreateVGFont("Arial", 10, 0),
               system->CreateVGFont(RazidQt::kMusicFontFamily, 10, 0));
  }

  std::vector<Step> steps;

  bool BeginDraw() override {
    Note([](VGDevice& d) { d.BeginDraw(); });
    return Inner([&] { return GDeviceQt::BeginDraw(); });
  }
  void EndDraw() override {
    Note([](VGDevice& d) { d.EndDraw(); });
    Inner([&] { GDeviceQt::EndDraw(); });
  }
  void MoveTo(float x, float y) override {
    Note([=](VGDevice& d) { d.MoveTo(x, y); });
    Inner([&] { GDeviceQt::MoveTo(x, y); });
  }
  void LineTo(float x, float y) override {
    Note([=](VGDevice& d) { d.LineTo(x, y); });
    Inner([&] { GDeviceQt::LineTo(x, y); });
  }
  void Line(float x1, float y1, float x2, float y2) override {
    Note([=](VGDevice& d) { d.Line(x1, y1, x2, y2); });
    Inner([&] { GDeviceQt::Line(x1, y1, x2, y2); });
  }
  void Frame(float l, float t, float r, float b) override {
    Note([=](VGDevice& d) { d.Frame(l, t, r, b); });
    Inner([&] { GDeviceQt::Frame(l, t, r, b); });
  }
  void Arc(float l, float t, float r, float b, float sx, float sy, float ex, float ey) override {
    Note([=](VGDevice& d) { d.Arc(l, t, r, b, sx, sy, ex, ey); });
    Inner([&] { GDeviceQt::Arc(l, t, r, b, sx, sy, ex, ey); });
  }
  void Triangle(float x1, float y1, float x2, float y2, float x3, float y3) override {
    Note([=](VGDevice& d) { d.Triangle(x1, y1, x2, y2, x3, y3); });
    Inner([&] { GDeviceQt::Triangle(x1, y1, x2, y2, x3, y3); });
  }
  void Polygon(float const* xs, float const* ys, int count) override {
    std::vector<float> x(xs, xs + count), y(ys, ys + count);
    Note([=](VGDevice& d) { d.Polygon(x.data(), y.data(), count); });
    Inner([&] { GDeviceQt::Polygon(xs, ys, count); });
  }
  void Rectangle(float l, float t, float r, float b) override {
    Note([=](VGDevice& d) { d.Rectangle(l, t, r, b); });
    Inner([&] { GDeviceQt::Rectangle(l, t, r, b); });
  }
  void SetMusicFont(VGFont const* font) override {
    Note([=](VGDevice& d) { d.SetMusicFont(font); });
    Inner([&] { GDeviceQt::SetMusicFont(font); });
  }
  void SetTextFont(VGFont const* font) override {
    Note([=](VGDevice& d) { d.SetTextFont(font); });
    Inner([&] { GDeviceQt::SetTextFont(font); });
  }
  void SelectPen(VGColor const& color, float width) override {
    Note([=](VGDevice& d) { d.SelectPen(color, width); });
    Inner([&] { GDeviceQt::SelectPen(color, width); });
  }
  void SelectFillColor(VGColor const& color) override {
    Note([=](VGDevice& d) { d.SelectFillColor(color); });
    Inner([&] { GDeviceQt::SelectFillColor(color); });
  }
  void PushPen(VGColor const& color, float width) override {
    Note([=](VGDevice& d) { d.PushPen(color, width); });
    Inner([&] { GDeviceQt::PushPen(color, width); });
  }
  void PopPen() override {
    Note([](VGDevice& d) { d.PopPen(); });
    Inner([&] { GDeviceQt::PopPen(); });
  }
  void PushFillColor(VGColor const& color) override {
    Note([=](VGDevice& d) { d.PushFillColor(color); });
    Inner([&] { GDeviceQt::PushFillColor(color); });
  }
  void PopFillColor() override {
    Note([](VGDevice& d) { d.PopFillColor(); });
    Inner([&] { GDeviceQt::PopFillColor(); });
  }
  void SetRasterOpMode(VRasterOpMode mode) override {
    Note([=](VGDevice& d) { d.SetRasterOpMode(mode); });
    Inner([&] { GDeviceQt::SetRasterOpMode(mode); });
  }
  void SetScale(float x, float y) override {
    Note([=](VGDevice& d) { d.SetScale(x, y); });
    Inner([&] { GDeviceQt::SetScale(x, y); });
  }
  void OffsetOrigin(float dx, float dy) override {
    Note([=](VGDevice& d) { d.OffsetOrigin(dx, dy); });
    Inner([&] { GDeviceQt::OffsetOrigin(dx, dy); });
  }
  void NotifySize(int width, int height) override {
    Note([=](VGDevice& d) { d.NotifySize(width, height); });
    Inner([&] { GDeviceQt::NotifySize(width, height); });
  }
  void DrawMusicSymbol(float x, float y, unsigned int symbol) override {
    Note([=](VGDevice& d) { d.DrawMusicSymbol(x, y, symbol); });
    Inner([&] { GDeviceQt::DrawMusicSymbol(x, y, symbol); });
  }
  void DrawString(float x, float y, char const* s, int count) override {
    std::string text = s ? std::string(s) : std::string();
    const bool none = !s;
    Note([=](VGDevice& d) { d.DrawString(x, y, none ? nullptr : text.c_str(), count); });
    Inner([&] { GDeviceQt::DrawString(x, y, s, count); });
  }
  void SetFontColor(VGColor const& color) override {
    Note([=](VGDevice& d) { d.SetFontColor(color); });
    Inner([&] { GDeviceQt::SetFontColor(color); });
  }
  void SetFontBackgroundColor(VGColor const& color) override {
    Note([=](VGDevice& d) { d.SetFontBackgroundColor(color); });
    Inner([&] { GDeviceQt::SetFontBackgroundColor(color); });
  }
  void SetFontAlign(unsigned int align) override {
    Note([=](VGDevice& d) { d.SetFontAlign(align); });
    Inner([&] { GDeviceQt::SetFontAlign(align); });
  }
};

// Every page of the painter's score, recorded as the painter draws it into image.
class Ink {
 public:
  Ink(GRHandle score, int pages, QImage& image) {
    for (int page = 1; page <= pages; ++page) {
      image.fill(Qt::white);
      QPainter target(&image);
      target.setRenderHint(QPainter::Antialiasing);
      GSystemQt system(&target);
      auto recorder = std::make_unique<InkRecorder>(&target, &system);
      RazidOnDrawDesc desc;
      desc.handle = score;
      desc.hdc = recorder.get();
      desc.page = page;
      desc.sizex = image.width();
      desc.sizey = image.height();
      desc.updateRegion.erase = true;
      RazidOnDraw(&desc);
      mPages.push_back(std::move(recorder));
    }
  }

  // Each page cleared and drawn again from its record; the number of calls replayed.
  long Replay(QImage& image) const {
    long calls = 0;
    for (auto const& page : mPages) {
      image.fill(Qt::white);
      QPainter target(&image);
      target.setRenderHint(QPainter::Antialiasing);
      GSystemQt system(&target);
      std::unique_ptr<VGDevice> device(system.CreateDisplayDevice());
      for (auto const& step : page->steps) step(*device);
      calls += static_cast<long>(page->steps.size());
    }
    return calls;
  }

 private:
  // The recorders keep the fonts the records name.
  std::vector<std::unique_ptr<InkRecorder>> mPages;
};

}  // namespace Bench
