#pragma once

#include <string>

namespace G {

// A format that a recording can be written in, chosen by the file name's extension: .mp4 is H.264, .webm
// VP9, .gif an animated GIF. Known to every build, with video recording or without, so that a name is
// judged the same way everywhere.
struct VideoFormat {
    const char* extension;
    // FFmpeg's names for the container and the encoder.
    const char* muxer;
    const char* encoder;
    // Whether the frames are palette indices, the palette made from the game's own pictures.
    bool palette;
};

// The format that the name's extension chooses, in capitals or not; nothing (nullptr) for any other name.
const VideoFormat* videoFormatOf(const std::string& path);

} // namespace G
