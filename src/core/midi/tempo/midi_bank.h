#pragma once

// The catalogue of the short piano pieces that tempo questions play: every Standard MIDI File
// under ":/midi/", each assigned to a tempo class. A piece is parsed the first time its class is
// asked for and then kept; GUI thread only.

#include <QString>

#include <memory>
#include <vector>

#include "src/core/exercise/theory/tempo.h"
#include "src/core/midi/midi.h"

namespace Core {

extern const QString MidiResourcePath;  // ":/midi/"

class MidiBank {
 public:
  struct MidiFileInfo {
    QString path;  // ":/midi/<file name>"
    TempoTypes tempo;
    std::shared_ptr<MidiStream> stream;  // empty until the piece has been read
  };

  MidiBank();
  virtual ~MidiBank();

  // Appends the pieces of `tempo`, in file-name order ignoring case, to `out`. A piece that cannot
  // be read is left out (and tried again next time); the others are returned.
  void GetByTempo(TempoTypes tempo, std::vector<MidiFileInfo>& out) const;

 protected:
  // Lists `folder` (":/midi/" for the program); tests point it elsewhere.
  explicit MidiBank(const QString& folder);

 private:
  void Initialize(const QString& folder);

  // Filled lazily by the const GetByTempo: the bank is used from one thread only.
  mutable std::vector<MidiFileInfo> m_files;
};

}  // namespace Core
