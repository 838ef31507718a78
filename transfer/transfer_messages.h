// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "message.h"
#include "vid_messages.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

// Every box of a transfer, with its German text; those about the part files
// come from the video format's own messages.
namespace velvix::transfer::messages {

inline constexpr velvix::messages::VideoWindow kTransferWindow{"Übertragen", "„Übertragen“"};

Message NoVideo(const std::filesystem::path& folder);
Message TooLarge(const std::string& file, std::uintmax_t bytes);
Message FileGone(const std::filesystem::path& folder, const std::string& file, std::error_code error);
Message FileChanged(const std::string& file, std::uintmax_t listed, std::uintmax_t now);

enum class PortProblem { Missing, InUse, NoPermission, Other };
Message NoPortChosen();
// `detail` is the system's own text, shown as a marked last line where the kind alone does not explain.
Message PortUnavailable(PortProblem problem, const std::string& port, const std::string& detail);
// The line broke after `sent` bytes; `exact` is false where the port could not tell what left it.
Message SendFailed(const std::string& file, std::uintmax_t sent, std::uintmax_t total, bool exact,
                   const std::string& detail);
// Asks whether to wait on or cancel; its OK button reads kWaitOn.
Message HeldTooLong(const std::string& file, int seconds);
inline constexpr const char* kWaitOn = "Weiter warten";
Message Cancelled(const std::string& file);

} // namespace velvix::transfer::messages
