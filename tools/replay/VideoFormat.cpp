#include "tools/replay/VideoFormat.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstddef>

namespace G {

namespace {

constexpr std::array<VideoFormat, 3> formats{
    {{".mp4", "mp4", "libx264", false}, {".webm", "webm", "libvpx-vp9", false}, {".gif", "gif", "gif", true}}};

} // namespace

const VideoFormat* videoFormatOf(const std::string& path) {
    for (const VideoFormat& format : formats) {
        const std::string extension = format.extension;
        // In any case, as .MP4 from a camera or a Windows tool reads.
        if (path.size() > extension.size() &&
            std::equal(extension.begin(), extension.end(), path.end() - static_cast<std::ptrdiff_t>(extension.size()),
                       [](const char a, const char b) {
                           return std::tolower(static_cast<unsigned char>(a)) ==
                                  std::tolower(static_cast<unsigned char>(b));
                       })) {
            return &format;
        }
    }
    return nullptr;
}

} // namespace G
