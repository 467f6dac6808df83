#pragma once

// The application's one error type: thrown by value where ports are counted and files are read or
// written, returned by value by the MIDI file functions (an empty Error means success). Copies
// share one immutable record, so an Error can be handed between threads.

#include <QString>

#include <memory>

class Error;

namespace Detail {
struct ErrorData;
}  // namespace Detail

class Error {
 public:
  // Error codes: category * 256 + detail.
  enum Code : int {
    MidiFileRead = 0x101,  // also used for a failed write
    MidiFileOpen = 0x105,
    MidiFileLoad = 0x108,
    MidiPorts = 0x300,  // + the MIDI library's error type number
    RmnRendering = 0x500,
    XmlParse = 0x623,
    XmlSave = 0x624,
    XmlLoad = 0x625,
  };

  Error() = default;
  explicit Error(std::shared_ptr<Detail::ErrorData> data) : m_data(std::move(data)) {}

  bool IsEmpty() const { return !m_data; }
  explicit operator bool() const { return static_cast<bool>(m_data); }

  const std::shared_ptr<Detail::ErrorData>& GetData() const { return m_data; }
  // Field accessors; on an empty Error they give 0 and empty texts.
  int GetCode() const;
  QString GetMessage() const;
  const char* GetFile() const;
  const char* GetFunction() const;
  int GetLine() const;

 private:
  std::shared_ptr<Detail::ErrorData> m_data;
};

namespace Detail {

struct ErrorData {
  const char* file = "";
  const char* function = "";
  int line = 0;
  int code = 0;
  QString message;
  Error inner;
};

}  // namespace Detail

// Builds an Error for the current source position: MELVARIN_ERROR(Error::XmlSave, text).
#define MELVARIN_ERROR(code, message)                                \
  ::Error(std::make_shared<::Detail::ErrorData>(::Detail::ErrorData{ \
      __FILE__, __func__, __LINE__, static_cast<int>(code), (message), ::Error()}))
