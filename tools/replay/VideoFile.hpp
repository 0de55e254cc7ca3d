#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct SwsContext;

namespace G {

// A video file written with FFmpeg's libraries, its format chosen by the name's extension (VideoFormat):
// .mp4 is H.264 (yuv420p, which every player and site accepts), .webm is VP9, .gif an animated GIF with a
// palette made from the picture. Frames are RGBA pictures of a fixed size, one per frame time. A file is
// written beside its name (the file a link names) and renamed into place by finish, so that nobody ever sees
// half a video; a file that is not finished is removed. A FIFO or a device is written in place (OutputPlace).
// Frames are converted and encoded on a thread of their own while the caller draws the next one.
class VideoFile {
public:
    // Opens the file for frames of width x height pixels at one frame per frameTime seconds; a format whose
    // palette is made from the picture (VideoFormat::palette) takes it from paletteSource's colours. The
    // encoder's threads start with the stop signals blocked. Throws a Failure (status 2), and leaves no
    // file, for an extension that names no format, an encoder that this FFmpeg lacks, or a path that
    // cannot be written.
    static std::unique_ptr<VideoFile> open(const std::string& path, unsigned width, unsigned height, float frameTime,
                                           const std::vector<std::uint32_t>& paletteSource);

    VideoFile(const VideoFile&) = delete;
    VideoFile& operator=(const VideoFile&) = delete;
    VideoFile(VideoFile&&) = delete;
    VideoFile& operator=(VideoFile&&) = delete;
    ~VideoFile();

    // Queues one frame, width x height RGBA pixels, top row first; throws a Failure (status 1) once the
    // encoding has failed.
    void write(const std::uint8_t* pixels);
    // Encodes what is queued, completes the file and renames it into place; throws a Failure (status 1), and
    // leaves no file, when that fails.
    void finish();

    // Removes the partial file of every video not finished: for a process that must end at once (its X
    // display gone), where no destructor will run.
    static void removeUnfinished();

private:
    VideoFile(std::string path, unsigned width, unsigned height);
    // Throws the Failure that open throws.
    void openEncoder(float frameTime, const std::vector<std::uint32_t>& paletteSource);
    void encodeLoop();
    // Encodes one frame, or with nullptr what the encoder still holds; 0, or FFmpeg's (negative) error code.
    int encode(const std::vector<std::uint8_t>* pixels);
    void toPalette(const std::uint8_t* pixels);
    void close();
    // The name the encoder writes to: the temporary one, or the FIFO or device itself.
    const std::string& writtenAs() const;

    // As the user gave it, for messages; the file it leads to; the name that file is written under until it
    // is whole, empty where it is written in place.
    std::string path;
    std::string file;
    std::string temporary;
    unsigned width;
    unsigned height;

    AVFormatContext* format = nullptr;
    AVCodecContext* context = nullptr;
    AVStream* stream = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    SwsContext* scaler = nullptr;
    bool headerWritten = false;
    std::int64_t nextPts = 0;

    // For a GIF: the palette, and the index of every colour met so far.
    std::vector<std::uint32_t> palette;
    std::unordered_map<std::uint32_t, std::uint8_t> nearest;

    std::thread encoder;
    std::mutex lock;
    std::condition_variable changed;
    std::deque<std::vector<std::uint8_t>> queue;
    std::vector<std::vector<std::uint8_t>> spare;
    bool closing = false;
    // FFmpeg's code for the first failure of the encoding; 0 while there is none.
    int error = 0;
};

} // namespace G
