#include "src/core/midi/error.h"

int Error::GetCode() const {
  return m_data ? m_data->code : 0;
}
QString Error::GetMessage() const {
  return m_data ? m_data->message : QString();
}
const char* Error::GetFile() const {
  return m_data ? m_data->file : "";
}
const char* Error::GetFunction() const {
  return m_data ? m_data->function : "";
}
int Error::GetLine() const {
  return m_data ? m_data->line : 0;
}
