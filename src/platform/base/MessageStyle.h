#pragma once
// Style and result codes of the program's message box, shared by the input
// box. A style is an icon part plus a button part.
#include <cstdint>

namespace MessageStyle {
// Button part (Style And &HF07).
constexpr int32_t OKOnly = 0;
constexpr int32_t CancelOK = 1; // Cancel on the left
constexpr int32_t AbortRetryIgnore = 2;
constexpr int32_t YesNoCancel = 3;
constexpr int32_t YesNo = 4;
constexpr int32_t RetryCancel = 5;
constexpr int32_t ContinueAbort = 0x200;
constexpr int32_t ProceedCancel = 0x400;
constexpr int32_t ButtonMask = 0xF07;
// Icon part (Style And &HF0).
constexpr int32_t Critical = 16;
constexpr int32_t Question = 32;
constexpr int32_t Exclamation = 48;
constexpr int32_t Information = 64;
constexpr int32_t IconMask = 0xF0;
} // namespace MessageStyle

namespace MessageResult {
constexpr int32_t Refused = 0; // a box was already open
constexpr int32_t OK = 1;
constexpr int32_t Cancel = 2;
constexpr int32_t Abort = 3;
constexpr int32_t Retry = 4;
constexpr int32_t Ignore = 5;
constexpr int32_t Yes = 6;
constexpr int32_t No = 7;
constexpr int32_t Continue = 16;
constexpr int32_t Proceed = 17;
} // namespace MessageResult
