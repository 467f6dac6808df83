#include <memory>

#include "ARMusic.h"
#include "CScoreElement.h"
#include "GRMusic.h"
#include "GRPage.h"
#include "GRSpaceForceFunction2.h"
#include "GRSpring.h"
#include "GRStaffManager.h"
#include "GRVoice.h"
#include "Razid.h"
#include "ScoreSymbolMap.h"
#include "VGDevice.h"
#include "engine_state.h"

// Layouts: their handles, laying out, page and time queries, drawing, and the symbol map's page
// side.

namespace {

HandleRegistry<GRMusic>& Layouts() {
  static HandleRegistry<GRMusic> layouts;
  return layouts;
}

GRMusic* LayoutOf(GRHandle gr) {
  auto* entry = Layouts().Find(HandleId(gr));
  return entry ? entry->object : nullptr;
}

GRPage const* PageOf(GRHandle gr, int page) {
  GRMusic const* music = LayoutOf(gr);
  return music ? music->getPage(page) : nullptr;
}

ScoreSymbolMap const* MapOf(GRHandle gr, int page) {
  GRPage const* found = PageOf(gr, page);
  return found ? &found->getSymbolMap() : nullptr;
}

void CollectEnvelopes(CScoreElement const& element, std::vector<TRect<float>>& boxes) {
  for (CScoreElement const* child : element.children()) {
    if (!child) continue;
    if (child->kind == 1 || child->kind == 2)
      boxes.push_back({child->left, child->top, child->right, child->bottom});
    CollectEnvelopes(*child, boxes);
  }
}

}  // namespace

void razid_applySettings(RazidLayoutSettings const* settings) {
  if (!settings) return;
  GRStaffManager::sDefaultSystemDistance = settings->systemsDistance;
  GRStaffManager::sSystemDistribution = settings->systemsDistribution;
  GRStaffManager::sSystemDistribLimit = settings->systemsDistribLimit;
  GRSpaceForceFunction2::setOptForce(settings->optimumForce);
  // The spring constants are 1 / log((d + 1) * parameter): at 1 or below they turn negative or
  // infinite for short notes, so such a parameter keeps the one in force.
  if (settings->springParameter > 1) GRSpring::setFunctionParameter(settings->springParameter);
  GRStaffManager::sNeedSpecialSpacing = settings->specialSpacing == 1;
  GRStaffManager::sOptPageFill = settings->optPageFill == 1;
}

RazidErrCode RazidAR2GR(ARHandle ar, RazidLayoutSettings const* settings, GRHandle* gr) {
  if (!gr) return -7;
  *gr = nullptr;
  auto* score = EngineState().scores.Find(HandleId(ar));
  if (!score || !score->object) return -8;
  razid_applySettings(settings);
  auto music =
      std::make_unique<GRMusic>(score->object, EngineState().defaultPageFormat.get(), false);
  // Music too large to lay out is refused like music too large to parse.
  if (music->isRefused()) return -2;
  music->setName(score->object->getName().c_str());
  ++score->references;
  *gr = HandleFromId<GRHandle>(Layouts().Add(music.release(), HandleId(ar)));
  return 0;
}

RazidErrCode RazidUpdateGR(GRHandle gr, RazidLayoutSettings const* settings) {
  GRMusic* music = LayoutOf(gr);
  if (!music) return -8;
  razid_applySettings(settings);
  music->createGR(EngineState().defaultPageFormat.get());
  return music->isRefused() ? -2 : 0;
}

void RazidFreeGR(GRHandle gr) {
  HandleRegistry<GRMusic>::Entry removed;
  if (!Layouts().Remove(HandleId(gr), &removed)) return;
  delete removed.object;
  ReleaseScore(removed.source);
}

int RazidGetPageCount(GRHandle gr) {
  GRMusic const* music = LayoutOf(gr);
  return music ? music->getNumPages() : 0;
}

RazidErrCode RazidDuration(GRHandle gr, RazidDate* duration) {
  if (!duration) return -7;
  GRMusic const* music = LayoutOf(gr);
  if (!music) {
    *duration = {0, 1};
    return -8;
  }
  *duration = {music->getDuration().getNumerator(), music->getDuration().getDenominator()};
  return 0;
}

int RazidFindEventPage(GRHandle gr, RazidDate date) {
  GRMusic const* music = LayoutOf(gr);
  if (!music) return 0;
  // The first voice places events on pages.
  for (int index = 0; index < music->getNumVoices(); ++index) {
    GRVoice const* voice = music->getVoice(index);
    if (!voice) continue;
    GRPage const* page = voice->getPageNum(date.num, date.denom);
    return page ? music->getPageIndex(page) : -10;
  }
  return -10;
}

int RazidFindPageAt(GRHandle gr, RazidDate date) {
  GRMusic const* music = LayoutOf(gr);
  return music ? music->getPageNumForTimePos(date.num, date.denom) : 0;
}

RazidErrCode RazidGetPageDate(GRHandle gr, int page, RazidDate* date) {
  if (!date) return -7;
  *date = {0, 1};
  GRMusic const* music = LayoutOf(gr);
  if (!music) return -8;
  return music->getRTPofPage(page, &date->num, &date->denom) ? 0 : -7;
}

RazidErrCode RazidOnDraw(RazidOnDrawDesc* desc) {
  // A page cannot be scaled into an area without pixels.
  if (!desc || !desc->hdc || desc->page < 1 || desc->sizex <= 0 || desc->sizey <= 0) return -7;
  GRMusic* music = LayoutOf(desc->handle);
  if (!music) return -8;
  VGDevice& device = *desc->hdc;
  const bool began = device.BeginDraw();
  if (began) music->OnDraw(device, *desc);
  device.EndDraw();
  return began ? 0 : -10;
}

void RazidGetPageFormat(GRHandle gr, int page, RazidPageFormat* format) {
  if (!format) return;
  *format = RazidPageFormat{};
  if (GRPage const* found = PageOf(gr, page)) found->getPageFormat(format);
}

RazidErrCode RazidResizePageToMusic(GRHandle gr) {
  GRMusic* music = LayoutOf(gr);
  if (!music) return -8;
  music->adjustPageSize();
  return 0;
}

RazidErrCode RazidGetPagesEnvelopes(std::vector<std::vector<TRect<float>>>* envelopes,
                                    GRHandle gr) {
  if (!envelopes) return -7;
  GRMusic const* music = LayoutOf(gr);
  if (!music) return -8;
  size_t slot = 0;
  for (int page = 1; page <= music->getNumPages(); ++page) {
    CScoreElement const* root = RazidMapGetRootElement(gr, page);
    if (!root) continue;
    if (envelopes->size() <= slot) envelopes->emplace_back();
    auto& boxes = (*envelopes)[slot++];
    boxes.clear();
    CollectEnvelopes(*root, boxes);
  }
  return 0;
}

CScoreElement* RazidMapGetRootElement(GRHandle gr, int page) {
  ScoreSymbolMap const* map = MapOf(gr, page);
  return map ? map->GetRootElement() : nullptr;
}

float RazidMapGetMinDate(GRHandle gr, int page) {
  ScoreSymbolMap const* map = MapOf(gr, page);
  return map ? map->GetMinDate() : 0;
}

float RazidMapGetMaxDate(GRHandle gr, int page) {
  ScoreSymbolMap const* map = MapOf(gr, page);
  return map ? map->GetMaxDate() : 0;
}

CScoreElement* RazidMapFindEventHitBy(GRHandle gr, int page, float x, float y) {
  ScoreSymbolMap const* map = MapOf(gr, page);
  return map ? map->FindEventHitBy(x, y) : nullptr;
}

int RazidMapGetElementCountForType(GRHandle gr, int page, int kind) {
  ScoreSymbolMap const* map = MapOf(gr, page);
  return map ? map->ElementCountForType(kind) : 0;
}
