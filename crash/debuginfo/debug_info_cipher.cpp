// \brief The body key of the debug-information container and the older ReportCipher variant.
#include "crash/debuginfo/debug_info_cipher.h"

#include <cstdio>

#include "crash/settings/report_cipher.h"

namespace kestrix {
namespace {

constexpr std::string_view KeyText = "KXDBGI";
constexpr std::uint32_t OlderVariantSeed = 0;

}  // namespace

std::string ApplyOlderReportCipher(std::string_view data, std::string_view key) {
    return ApplyReportCipher(data, key, OlderVariantSeed);
}

std::string DebugInfoBodyKey(std::uint32_t bodyLength) {
    char hex[16];
    char decimal[16];
    std::snprintf(hex, sizeof hex, "$%07X", unsigned(bodyLength));
    std::snprintf(decimal, sizeof decimal, "%08u", unsigned(bodyLength));
    std::string text = std::string(KeyText) + hex + std::string(KeyText) + decimal;
    text += text;
    return ApplyOlderReportCipher(text, text);
}

std::string CipherDebugInfoBody(std::string_view body) {
    std::string out(body);
    CipherDebugInfoBodyInPlace(out);
    return out;
}

void CipherDebugInfoBodyInPlace(std::span<char> body) {
    ApplyReportCipherInPlace(body, DebugInfoBodyKey(std::uint32_t(body.size())), OlderVariantSeed);
}

}  // namespace kestrix
