#include "tools/replay/VideoFile.hpp"

#include "tools/replay/VideoFormat.hpp"
#include "tools/tournament/BlockedStopSignals.hpp"
#include "tools/tournament/Failure.hpp"
#include "tools/tournament/OutputFile.hpp"
#include "tools/tournament/OutputPlace.hpp"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <unistd.h>
#include <utility>

namespace G {

namespace {

std::string errorText(const int code) {
    std::array<char, AV_ERROR_MAX_STRING_SIZE> text{};
    av_strerror(code, text.data(), text.size());
    return text.data();
}

// The picture's colours, the most frequent first, at most 256: a GIF's palette.
std::vector<std::uint32_t> paletteOf(const std::vector<std::uint32_t>& pixels) {
    std::map<std::uint32_t, std::size_t> counts;
    for (const std::uint32_t pixel : pixels) {
        ++counts[pixel | 0xFF000000U];
    }
    std::vector<std::pair<std::size_t, std::uint32_t>> ranked;
    ranked.reserve(counts.size());
    for (const auto& [colour, count] : counts) {
        ranked.emplace_back(count, colour);
    }
    // The most frequent first, and among equals the lower colour value, so the palette is the same every time.
    std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    std::vector<std::uint32_t> palette;
    for (std::size_t i = 0; i < ranked.size() && i < 256; ++i) {
        palette.push_back(ranked[i].second);
    }
    if (palette.empty()) {
        palette.push_back(0xFF000000U);
    }
    return palette;
}

int channel(const std::uint32_t colour, const int shift) {
    return static_cast<int>((colour >> static_cast<unsigned>(shift)) & 0xFFU);
}

// The partial files of the videos being written, for removeUnfinished.
std::mutex unfinishedLock;
std::vector<std::string> unfinished;

void forget(const std::string& temporary) {
    const std::scoped_lock guard(unfinishedLock);
    unfinished.erase(std::remove(unfinished.begin(), unfinished.end(), temporary), unfinished.end());
}

} // namespace

void VideoFile::removeUnfinished() {
    const std::scoped_lock guard(unfinishedLock);
    for (const std::string& temporary : unfinished) {
        std::remove(temporary.c_str());
    }
}

VideoFile::VideoFile(std::string path, const unsigned width, const unsigned height)
    : path(std::move(path)), width(width), height(height) {
    const OutputPlace place(this->path, 2);
    file = place.file();
    if (place.way() == OutputPlace::Way::Replaced) {
        temporary = outputFile::temporaryFor(file);
    }
}

const std::string& VideoFile::writtenAs() const {
    return temporary.empty() ? file : temporary;
}

std::unique_ptr<VideoFile> VideoFile::open(const std::string& path, const unsigned width, const unsigned height,
                                           const float frameTime, const std::vector<std::uint32_t>& paletteSource) {
    // The encoders' own reports of every file would drown the tool's one line.
    av_log_set_level(AV_LOG_ERROR);
    // The encoders start threads of their own (x264 while it opens, libvpx on the encoding thread): all of
    // them inherit this mask, so that a stop signal reaches the main thread.
    const BlockedStopSignals blocked;
    std::unique_ptr<VideoFile> file(new VideoFile(path, width, height));
    // What a failed opening leaves, the file's destruction clears away.
    file->openEncoder(frameTime, paletteSource);
    file->encoder = std::thread([raw = file.get()] { raw->encodeLoop(); });
    return file;
}

void VideoFile::openEncoder(const float frameTime, const std::vector<std::uint32_t>& paletteSource) {
    const VideoFormat* const chosen = videoFormatOf(path);
    if (chosen == nullptr) {
        throw Failure(2, path + ": the name ends in none of .mp4, .webm and .gif");
    }
    const AVCodec* const codec = avcodec_find_encoder_by_name(chosen->encoder);
    if (codec == nullptr) {
        throw Failure(2, std::string("this FFmpeg has no ") + chosen->encoder + " encoder, which " + chosen->extension +
                             " needs");
    }
    if (avformat_alloc_output_context2(&format, nullptr, chosen->muxer, writtenAs().c_str()) < 0 || format == nullptr) {
        throw Failure(2, std::string("this FFmpeg cannot write ") + chosen->muxer + " files");
    }
    if (std::strcmp(chosen->muxer, "webm") == 0) {
        // Otherwise the muxer gives the track a random identifier, and the same game a file of other bytes on
        // every run; MP4 and GIF have no such field, and keep the bytes they have always had.
        format->flags |= AVFMT_FLAG_BITEXACT;
    }
    stream = avformat_new_stream(format, nullptr);
    context = avcodec_alloc_context3(codec);
    frame = av_frame_alloc();
    packet = av_packet_alloc();
    if (stream == nullptr || context == nullptr || frame == nullptr || packet == nullptr) {
        throw Failure(2, "out of memory");
    }
    const bool gif = chosen->palette;
    // One frame per frame time: 1/60 s reads as exactly 1/60.
    const AVRational step = av_d2q(frameTime, 1000000);
    context->width = static_cast<int>(width);
    context->height = static_cast<int>(height);
    context->time_base = step;
    context->framerate = av_inv_q(step);
    context->pix_fmt = gif ? AV_PIX_FMT_PAL8 : AV_PIX_FMT_YUV420P;
    if ((format->oformat->flags & AVFMT_GLOBALHEADER) != 0) {
        context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    AVDictionary* options = nullptr;
    if (std::strcmp(chosen->encoder, "libx264") == 0) {
        // Fast enough to record well ahead of real time on two cores, at a quality that shows no artefacts.
        av_dict_set(&options, "preset", "veryfast", 0);
        av_dict_set(&options, "crf", "18", 0);
    } else if (std::strcmp(chosen->encoder, "libvpx-vp9") == 0) {
        av_dict_set(&options, "deadline", "realtime", 0);
        av_dict_set(&options, "cpu-used", "8", 0);
        av_dict_set(&options, "row-mt", "1", 0);
        av_dict_set(&options, "crf", "30", 0);
        context->bit_rate = 0;
    }
    const int opened = avcodec_open2(context, codec, &options);
    av_dict_free(&options);
    if (opened < 0) {
        throw Failure(2, std::string("the ") + chosen->encoder + " encoder cannot start: " + errorText(opened));
    }
    avcodec_parameters_from_context(stream->codecpar, context);
    stream->time_base = context->time_base;
    frame->format = context->pix_fmt;
    frame->width = context->width;
    frame->height = context->height;
    if (av_frame_get_buffer(frame, 0) < 0) {
        throw Failure(2, "out of memory");
    }
    if (gif) {
        palette = paletteOf(paletteSource);
    } else {
        scaler = sws_getContext(context->width, context->height, AV_PIX_FMT_RGBA, context->width, context->height,
                                AV_PIX_FMT_YUV420P, SWS_POINT, nullptr, nullptr, nullptr);
        if (scaler == nullptr) {
            throw Failure(2, "the picture cannot be converted for the encoder");
        }
    }
    if (!temporary.empty()) {
        const std::scoped_lock guard(unfinishedLock);
        unfinished.push_back(temporary);
    }
    const int io = avio_open(&format->pb, writtenAs().c_str(), AVIO_FLAG_WRITE);
    if (io < 0) {
        throw Failure(2, "cannot write " + path + ": " + errorText(io));
    }
    // An MP4 file's index is written last and its place near the start filled in then, which a FIFO, a pipe or
    // a terminal cannot take; FFmpeg would refuse it with a line of its own and "Invalid argument".
    if (format->pb->seekable == 0 && std::strcmp(chosen->muxer, "mp4") == 0) {
        throw Failure(2, "cannot write " + path + ": a FIFO, a pipe or a terminal cannot take .mp4, which is not " +
                             "written in order; .webm and .gif are");
    }
    const int header = avformat_write_header(format, nullptr);
    if (header < 0) {
        throw Failure(2, "cannot write " + path + ": " + errorText(header));
    }
    headerWritten = true;
}

VideoFile::~VideoFile() {
    {
        const std::scoped_lock guard(lock);
        closing = true;
        queue.clear();
    }
    changed.notify_all();
    if (encoder.joinable()) {
        encoder.join();
    }
    close();
}

void VideoFile::close() {
    if (format != nullptr && format->pb != nullptr) {
        avio_closep(&format->pb);
    }
    avformat_free_context(format);
    format = nullptr;
    avcodec_free_context(&context);
    av_frame_free(&frame);
    av_packet_free(&packet);
    sws_freeContext(scaler);
    scaler = nullptr;
    // A file that was not finished leaves nothing behind; a FIFO or a device written in place stays.
    if (!temporary.empty()) {
        std::remove(temporary.c_str());
        forget(temporary);
    }
}

void VideoFile::write(const std::uint8_t* pixels) {
    const std::size_t bytes = static_cast<std::size_t>(width) * height * 4;
    std::unique_lock<std::mutex> guard(lock);
    // At most a few frames wait, so that drawing cannot run away from the encoder.
    changed.wait(guard, [this] { return queue.size() < 3 || error != 0; });
    if (error != 0) {
        throw Failure(1, "cannot write " + path + ": " + errorText(error));
    }
    std::vector<std::uint8_t> copy;
    if (!spare.empty()) {
        copy = std::move(spare.back());
        spare.pop_back();
    }
    copy.assign(pixels, pixels + bytes);
    queue.push_back(std::move(copy));
    guard.unlock();
    changed.notify_all();
}

void VideoFile::encodeLoop() {
    for (;;) {
        std::vector<std::uint8_t> pixels;
        {
            std::unique_lock<std::mutex> guard(lock);
            changed.wait(guard, [this] { return !queue.empty() || closing; });
            if (queue.empty()) {
                return;
            }
            pixels = std::move(queue.front());
            queue.pop_front();
        }
        const int encoded = encode(&pixels);
        {
            const std::scoped_lock guard(lock);
            spare.push_back(std::move(pixels));
            error = error != 0 ? error : encoded;
        }
        changed.notify_all();
    }
}

void VideoFile::toPalette(const std::uint8_t* pixels) {
    auto* const colours = reinterpret_cast<std::uint32_t*>(frame->data[1]);
    for (std::size_t i = 0; i < palette.size(); ++i) {
        // FFmpeg's palettes are native 32-bit ARGB values.
        const std::uint32_t rgba = palette[i];
        colours[i] = 0xFF000000U | static_cast<std::uint32_t>(channel(rgba, 0)) << 16U |
                     static_cast<std::uint32_t>(channel(rgba, 8)) << 8U | static_cast<std::uint32_t>(channel(rgba, 16));
    }
    for (unsigned y = 0; y < height; ++y) {
        std::uint8_t* const row = frame->data[0] + static_cast<std::ptrdiff_t>(y) * frame->linesize[0];
        for (unsigned x = 0; x < width; ++x) {
            std::uint32_t pixel = 0;
            std::memcpy(&pixel, pixels + (static_cast<std::size_t>(y) * width + x) * 4, sizeof pixel);
            pixel |= 0xFF000000U;
            auto found = nearest.find(pixel);
            if (found == nearest.end()) {
                // The nearest colour of the palette, by squared distance, for a colour the palette lacks.
                std::size_t best = 0;
                int bestDistance = 1 << 30;
                for (std::size_t i = 0; i < palette.size(); ++i) {
                    int distance = 0;
                    for (const int shift : {0, 8, 16}) {
                        const int d = channel(pixel, shift) - channel(palette[i], shift);
                        distance += d * d;
                    }
                    if (distance < bestDistance) {
                        bestDistance = distance;
                        best = i;
                    }
                }
                found = nearest.emplace(pixel, static_cast<std::uint8_t>(best)).first;
            }
            row[x] = found->second;
        }
    }
}

int VideoFile::encode(const std::vector<std::uint8_t>* pixels) {
    if (pixels != nullptr) {
        const int writable = av_frame_make_writable(frame);
        if (writable < 0) {
            return writable;
        }
        if (scaler != nullptr) {
            const std::array<const std::uint8_t*, 1> source{pixels->data()};
            const std::array<int, 1> stride{static_cast<int>(width * 4)};
            sws_scale(scaler, source.data(), stride.data(), 0, static_cast<int>(height), frame->data, frame->linesize);
        } else {
            toPalette(pixels->data());
        }
        frame->pts = nextPts++;
    }
    const int sent = avcodec_send_frame(context, pixels != nullptr ? frame : nullptr);
    if (sent < 0) {
        return sent;
    }
    for (;;) {
        const int received = avcodec_receive_packet(context, packet);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) {
            return 0;
        }
        if (received < 0) {
            return received;
        }
        // Every frame lasts one frame time; a muxer that is not told so may cut the last one short.
        if (packet->duration == 0) {
            packet->duration = 1;
        }
        av_packet_rescale_ts(packet, context->time_base, stream->time_base);
        packet->stream_index = stream->index;
        const int written = av_interleaved_write_frame(format, packet);
        if (written < 0) {
            return written;
        }
    }
}

void VideoFile::finish() {
    {
        std::unique_lock<std::mutex> guard(lock);
        changed.wait(guard, [this] { return queue.empty() || error != 0; });
        closing = true;
    }
    changed.notify_all();
    encoder.join();
    // The encoding thread has ended: error is this thread's alone from here on.
    error = error != 0 ? error : encode(nullptr);
    error = error != 0 ? error : std::min(av_write_trailer(format), 0);
    error = error != 0 ? error : std::min(avio_closep(&format->pb), 0);
    if (error == 0 && !temporary.empty() && std::rename(temporary.c_str(), file.c_str()) != 0) {
        error = AVERROR(errno);
    }
    close();
    if (error != 0) {
        throw Failure(1, "cannot write " + path + ": " + errorText(error));
    }
}

} // namespace G
