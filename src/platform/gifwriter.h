#pragma once
// An animated GIF written frame by frame. The file loops forever; every frame is shown for its
// own delay and stays in place under the next one. The first frame holds the whole picture, each
// later one only the smallest rectangle that covers the pixels that changed against the picture
// shown so far (as decoded, so a frame stored exactly after a mapped one still comes back exact). A
// rectangle with at most 256 colours is stored exactly; one with more is mapped to 256 colours, and
// Quantized() tells so.
//
// Failures are reported by a false return and Error()'s text (no exception, as elsewhere in the
// platform layer: the caller decides whether a failed animation is an error box). The file is
// written under a temporary name beside the target and takes the target's name only when
// Finish() succeeds, so a failed or unfinished animation never leaves a file behind and never
// replaces an existing one.
#include <QImage>
#include <memory>
#include <string>

namespace metopt::platform {

class GifWriter {
  public:
    // The longest delay a frame can carry, in hundredths of a second.
    static constexpr int MaxDelay = 65535;
    // The widest and tallest picture a GIF can hold.
    static constexpr int MaxSide = 65535;

    GifWriter();
    // An animation not finished by then is discarded.
    ~GifWriter();
    GifWriter(const GifWriter&) = delete;
    GifWriter& operator=(const GifWriter&) = delete;

    // Starts an animation to be written to fileName. Refused while another one is being written,
    // and for a name that is taken by something other than a plain file (a folder, a device, a
    // pipe); after Finish() or a failure the writer starts afresh.
    bool Open(const std::string& fileName);

    // Adds a frame shown for delay hundredths of a second (0 to MaxDelay). The first frame sets
    // the animation's size; every later one must have the same size. Any format is read as RGB32.
    // A failure (an empty or wrong-sized frame, a bad delay, a write error, or no open animation)
    // discards the animation being written: Finish() then fails too.
    bool AddFrame(const QImage& frame, int delay);

    // Ends the animation and gives the file its name. Fails when no frame was added.
    bool Finish();

    // True while an animation is open for frames.
    bool IsWriting() const { return file_ != nullptr; }
    // Frames added to the current (or last finished) animation.
    int FrameCount() const { return frameCount_; }
    // True when a frame of the current (or last finished) animation had more than 256 colours.
    bool Quantized() const { return quantized_; }
    // Why the last call that returned false failed; empty after a success.
    const std::string& Error() const { return error_; }

  private:
    struct File;

    bool RefuseClosed();
    bool Fail(const std::string& error);
    bool WriteFrame(const QImage& frame, int delay);
    bool CheckFrame(const QImage& frame, int delay);
    bool StartPicture(const QImage& frame);
    void Discard();

    std::unique_ptr<File> file_;
    std::string fileName_;
    std::string error_;
    int frameCount_ = 0;
    bool quantized_ = false;
    bool failed_ = false;
    bool finished_ = false;
};

}  // namespace metopt::platform
