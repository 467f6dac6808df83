#pragma once

#include <unordered_map>
#include <utility>
#include <vector>

#include "Fraction.h"
#include "GREvent.h"
#include "GRPage.h"
#include "GRVoice.h"
#include "NVstring.h"
#include "ScorePictures.h"
#include "kf_ilist.h"
#include "score_arena.h"

class ARMusic;
class ARMusicalVoice;
class ARPageFormat;
struct RazidOnDrawDesc;

// The laid-out score of one abstract music: its pages and one graphical voice per voice, both
// owned. Making it lays the whole score out; a new layout starts from nothing.
class GRMusic : public GREvent {
 public:
  // Lays music out at once on pages of the format given (the default A4 without one).
  GRMusic(ARMusic* music, ARPageFormat* format, bool ownsAR = false);
  ~GRMusic() override;

  // Drops every page and voice, then lays the music out again; music whose layout would be
  // larger than sMaxLayoutWork (EstimatedLayoutWork), or takes more steps than that allows, is
  // refused with a warning and gets no page.
  void createGR(ARPageFormat* format);
  bool isRefused() const { return mRefused; }
  // A line whose music, from one date to the other, is wider than the page, squeezed into it,
  // was laid out.
  void noteSqueezedLine(Fraction const& from, Fraction const& to) {
    mSqueezedLines.emplace_back(from, to);
  }
  // 3.6 million: some three thousand measures (a hundred and fifty pages) of plain music on two
  // staves, or sixty thousand sixteenths on one, drawn in a few seconds and in less than 300 MB,
  // which a learner's machine can spare beside the trainer.
  static inline double sMaxLayoutWork = 3.6e6;
  // The estimate counts each object at a fixed cost; a layout that takes more than this many
  // steps through the engine's lists per unit of its limit does work the estimate did not see
  // (plain music takes about three) and is refused as well, when it has taken them.
  static inline double sListStepsPerWorkUnit = 16;

  // Draws nothing: a score is drawn page by page.
  void OnDraw(VGDevice&, VScoreSymbolMap&) const override {}
  virtual void OnDraw(VGDevice&) const {}
  // Draws the page the request names, when there is one.
  virtual void OnDraw(VGDevice& device, RazidOnDrawDesc const& desc);
  // From (0, 0, 1, 1), widened by every page; without pages it stays.
  void updateBoundingBox() override;

  virtual int getNumPages() const { return mPages.GetCount(); }
  // The page n counted from 1, null outside 1 .. count.
  virtual GRPage* getPage(int n) const;
  // The page's number from 1, 0 for a page of another score.
  virtual int getPageIndex(GRPage const* page) const;
  void addPage(GRPage* page);
  virtual float getPageWidth(int n) const;
  virtual float getPageHeight(int n) const;
  void adjustPageSize();
  virtual bool getRTPofPage(int n, int* numerator, int* denominator) const;
  // The page of the first voice's event at that date; -10 when there is none.
  virtual int getPageNum(int numerator, int denominator);
  // The page on which the date lies: 0 past the end of the music.
  virtual int getPageNumForTimePos(int numerator, int denominator) const;

  int getNumVoices() const { return mVoices.GetCount(); }
  GRVoice* getVoice(int index) const;
  GRVoice* getVoice(ARMusicalVoice const* voice) const;
  int getVoiceNum(ARMusicalVoice const* voice) const;
  void addVoiceElement(int index, GRNotationElement* element);
  void addVoiceElement(GRVoice* voice, GRNotationElement* element);
  void addVoiceElement(ARMusicalVoice const* voice, GRNotationElement* element);
  void removeVoiceElement(ARMusicalVoice const* voice, GRNotationElement* element);
  virtual void setPossibleVoiceNLinePosition(ARMusicalVoice const* voice, Fraction const& tp);
  virtual void rememberVoiceNLinePosition(ARMusicalVoice const* voice, Fraction const& tp);
  void startNewSystem(GRSystem* system);

  // The name the engine's caller gave, else the music's.
  NVstring const& getName() const;
  void setName(char const* name) { mName = name ? name : ""; }
  ARMusic* getARMusic() const;
  ARMusic const* getconstARMusic() const { return getARMusic(); }
  KF_IPointerList<GRPage> const& getPages() const { return mPages; }
  // The pictures the layout's picture marks show, read once for each layout.
  ScorePictures& pictures() { return mPictures; }

  static void setOptForce(float force);
  static float getOptForce();
  void setSpringParameter(float) {}
  void MarkVoice(int, int, int, int, int) {}

  // What an external graphical editor reads and does (GRMusicEditor.cpp). The music as RMN text,
  // handed to the AddRazidOutput hook.
  virtual void getRazid() const;
  std::string getGGSInfo(int) const override { return "this is grmusic ..."; }
  // Page n as a graphic stream through the AddGGSOutput hook; nothing without such a page.
  virtual void GGSOutputPage(int n) const;
  // A command of the editor after its first character: add<"name",x,y,z> appends a quarter c to
  // the first voice and lays the music out again; move<identity,dx,dy> moves an element of page n
  // that the graphic stream named, a note changing its pitch by half line spaces;
  // remove_image<identity> changes nothing. 0 when the music changed, else -10 with nothing
  // changed.
  virtual int GGSInputPage(int page, char const* command);
  virtual void trace(VGDevice& device) const;
  virtual void voicetrace(VGDevice& device) const;

 private:
  // The editor's "add": 0, or -10 with nothing changed.
  int addQuarterC();
  // Drops every page and voice, the elements of the layout all at once.
  void RemoveLayout();
  // One layout of the music; false when it ran out of work.
  bool layOut(ARPageFormat* format);

  // The elements of every layout of the music; it goes after its pages and voices.
  ScoreArena mArena;
  // It goes after the marks that show its pictures.
  ScorePictures mPictures;
  NVstring mName;
  bool mRefused = false;
  std::vector<std::pair<Fraction, Fraction>> mSqueezedLines;
  KF_IPointerList<GRVoice> mVoices{1};
  KF_IPointerList<GRPage> mPages{1};
  // The same voices and pages by index, and the voices by their abstract voice: the layout asks
  // for a voice at every break and the drawing for pages by number.
  std::vector<GRVoice*> mVoiceAt;
  std::unordered_map<ARMusicalVoice const*, int> mVoiceNumbers;
  std::vector<GRPage*> mPageAt;
};

// The music being laid out, or the last one laid out while it lives.
extern GRMusic* gCurMusic;
