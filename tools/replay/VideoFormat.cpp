#include "tools/replay/VideoFormat.hpp"

#include <array>

namespace G {

namespace {

constexpr std::array<VideoFormat, 3> formats{
    {{".mp4", "mp4", "libx264", false}, {".webm", "webm", "libvpx-vp9", false}, {".gif", "gif", "gif", true}}};

} // namespace

const VideoFormat* videoFormatOf(const std::string& path) {
    for (const VideoFormat& format : formats) {
        const std::string extension = format.extension;
        if (path.size() > extension.size() &&
            path.compare(path.size() - extension.size(), extension.size(), extension) == 0) {
            return &format;
        }
    }
    return nullptr;
}

} // namespace G
