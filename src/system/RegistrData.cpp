#include "system/RegistrData.h"

#include "system/Text.h"

namespace setup {

std::wstring TextHodnoty(uint32_t typ, std::span<const uint8_t> data) {
    if (typ == TypRegSz) {
        // Assembled unit by unit rather than copied, so neither the alignment
        // of the bytes nor the width of wchar_t on this platform matters.
        std::wstring text(data.size() / 2, L'\0');
        for (std::size_t i = 0; i < text.size(); ++i) {
            text[i] = static_cast<wchar_t>(data[2 * i] | (data[2 * i + 1] << 8));
        }
        return OrizniMezery(OrizniNulu(text));
    }
    if (typ == TypRegDword && data.size() == 4) {
        const uint32_t u = static_cast<uint32_t>(data[0]) | (static_cast<uint32_t>(data[1]) << 8) |
                           (static_cast<uint32_t>(data[2]) << 16) |
                           (static_cast<uint32_t>(data[3]) << 24);
        return TextCisla(static_cast<int32_t>(u));
    }
    return {};
}

}  // namespace setup
