// \brief The text of a mail as it goes after SMTP's DATA: the header lines (the subject as
// Q-encoded UTF-8 words), then the body alone, or with attachments a MIME multipart message with
// the body as its first part and each file in Base64. Also the multipart boundary that the
// upload uses too.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "crash/delivery/routes/mail_parameters.h"

namespace kestrix {

inline constexpr std::string_view MultipartBoundary = "kestrix.invalid_multipart_boundary";

// "=?UTF-8?Q?...?=" words, separated by a folding line break, that keep each line within 76
// characters when the first line holds usedOnFirstLine characters before them; every character
// but letters, digits and "!*+-/" as "=" and two hexadecimal digits.
std::string QEncodedHeaderText(std::string_view text, std::size_t usedOnFirstLine = 0);

// "day Mon year hh:mm:ss UT" in UTC.
std::string MailDateText(std::chrono::system_clock::time_point time);

// Base64 in lines of 76 characters (57 bytes each), each ended by a line break.
std::string Base64Lines(std::string_view bytes);

// Line breaks of any kind made carriage-return/line-feed pairs.
std::string WithCrLf(std::string_view text);

// SMTP's transparency: a line that starts with "." gets another, so that it arrives as written
// and never ends the data early.
std::string DotStuffed(std::string_view text);

// The message, ending in a line break. Throws std::runtime_error naming an attachment that
// cannot be read.
std::string BuildMailMessage(const MailParameters& parameters,
                             const std::vector<MailAddress>& recipients,
                             std::chrono::system_clock::time_point time);

}  // namespace kestrix
