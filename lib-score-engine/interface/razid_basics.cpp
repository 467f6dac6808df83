#include "Razid.h"

// Messages, versions and units: the parts of the interface that need no score.

namespace {

constexpr int kMajor = 1;
constexpr int kMinor = 3;
constexpr int kSub = 2;

// Indexed by code + 10.
constexpr char const* kErrorTexts[] = {
    "Action failed",
    "Razid was not initialized before parse",
    "Invalid Razid handle",
    "Invalid parameter",
    "Text font not found",
    "Music font not found",
    "Canceled by user",
    "File error",
    "Memory error",
    "Parse error",
    "No error",
};

}  // namespace

char const* RazidGetErrorString(RazidErrCode code) {
  if (code < -10 || code > 0) return "Unknown internal error";
  return kErrorTexts[code + 10];
}

void RazidGetVersionNums(int* major, int* minor, int* sub) {
  if (major) *major = kMajor;
  if (minor) *minor = kMinor;
  if (sub) *sub = kSub;
}

RazidErrCode RazidCheckVersionNums(int major, int minor, int sub) {
  if (major < kMajor) return 0;
  if (major == kMajor && minor < kMinor) return 0;
  if (major == kMajor && minor == kMinor && sub <= kSub) return 0;
  return -10;
}

float RazidUnit2CM(float units) {
  return units * 0.0042175176f;
}
float RazidCM2Unit(float cm) {
  return cm * 237.10631f;
}
float RazidUnit2Inches(float units) {
  return units * 0.00166044f;
}
float RazidInches2Unit(float inches) {
  return inches * 602.25f;
}
float RazidGetLineSpace() {
  return 50;
}

// The hooks drop what they are given. They are weak, so that a test can link hooks of its own that
// keep the text and check it; the program has no reader for it.
__attribute__((weak)) void AddGGSOutput(char const*) {}
__attribute__((weak)) void AddRazidOutput(char const*) {}
