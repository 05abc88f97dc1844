#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

// The runtime's numbered messages and its fatal error path.
namespace quorvane::dialog {

inline constexpr std::int32_t kCoInitializeMissing = 50001;
inline constexpr std::int32_t kActiveXHostMissing = 50002;
inline constexpr std::int32_t kExceptionInCloseForm = 50003;
inline constexpr std::int32_t kExceptionInRunForm = 50004;
inline constexpr std::int32_t kExceptionInSetEventHandler = 50005;
inline constexpr std::int32_t kExceptionWhileDisplaying = 50006;
inline constexpr std::int32_t kInvalidStyle = 50007;
inline constexpr std::int32_t kActiveXCreationFailed = 50008;

// The text of message number with each %s replaced by the next argument in
// turn; a number outside 50001..50008 gives the generic text with the number.
std::string RuntimeMessageText(std::int32_t number,
                               std::initializer_list<std::string_view> arguments);

// Shows the message and returns.
void ReportRuntimeMessage(std::int32_t number, std::initializer_list<std::string_view> arguments);

// Shows the message and ends the program through the host.
[[noreturn]] void FailFatally(std::int32_t number,
                              std::initializer_list<std::string_view> arguments);

}  // namespace quorvane::dialog
