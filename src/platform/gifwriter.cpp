#include "platform/gifwriter.h"

#include <gif_lib.h>

#include <QFileInfo>
#include <QSaveFile>
#include <QString>
#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <system_error>
#include <vector>

#include "platform/gifpalette.h"

namespace metopt::platform {

namespace {

constexpr QRgb RgbMask = 0x00FFFFFFu;  // RGB32 pixels: the top byte holds no colour
constexpr int ColourResolution = 8;    // bits per primary in the screen descriptor

// The file being written, under its temporary name, and why a write to it failed.
struct Sink {
    explicit Sink(const std::string& fileName) : device(QString::fromStdString(fileName)) {}
    QSaveFile device;
    bool failed = false;
    std::string reason;
};

// The system's reason when the device gives none ("Unknown error" for a full disk).
void NoteFailure(Sink& sink, int error) {
    sink.failed = true;
    sink.reason = error != 0 ? std::generic_category().message(error)
                             : sink.device.errorString().toStdString();
}

// giflib's output function: every byte of the animation goes through here.
int WriteToSink(GifFileType* gif, const GifByteType* data, int length) {
    auto* sink = static_cast<Sink*>(gif->UserData);
    if (sink->failed || length <= 0) {
        return 0;
    }
    errno = 0;
    const qint64 written = sink->device.write(reinterpret_cast<const char*>(data), length);
    if (written != length) {
        NoteFailure(*sink, errno);
        return 0;
    }
    return length;
}

const QRgb* Row(const QImage& image, int y) {
    return reinterpret_cast<const QRgb*>(image.constScanLine(y));
}

// The smallest box that holds every pixel where frame differs from shown; a 1x1 box at the
// corner when none does, so that the frame still carries its delay.
PixelBox ChangedBox(const QImage& shown, const QImage& frame) {
    const int width = frame.width();
    int left = width;
    int right = -1;
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < frame.height(); ++y) {
        const QRgb* before = Row(shown, y);
        const QRgb* after = Row(frame, y);
        int first = 0;
        while (first < width && ((before[first] ^ after[first]) & RgbMask) == 0) {
            ++first;
        }
        if (first == width) {
            continue;
        }
        int last = width - 1;
        while (((before[last] ^ after[last]) & RgbMask) == 0) {
            --last;
        }
        top = top < 0 ? y : top;
        bottom = y;
        left = std::min(left, first);
        right = std::max(right, last);
    }
    if (top < 0) {
        return PixelBox{0, 0, 1, 1};
    }
    return PixelBox{left, top, right - left + 1, bottom - top + 1};
}

// Puts the stored colours of the box into shown, as a viewer composes them.
void Compose(QImage& shown, const PixelBox& box, const IndexedPixels& indexed) {
    std::size_t i = 0;
    for (int y = box.top; y < box.top + box.height; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(shown.scanLine(y)) + box.left;
        for (int x = 0; x < box.width; ++x) {
            row[x] = indexed.colours[indexed.indices[i++]];
        }
    }
}

// The application extension that makes viewers loop the animation forever.
bool PutLoopForever(GifFileType* gif) {
    static constexpr char Application[] = "NETSCAPE2.0";
    static constexpr GifByteType LoopForever[] = {1, 0, 0};  // sub-block 1, loop count 0
    return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) != GIF_ERROR &&
           EGifPutExtensionBlock(gif, sizeof Application - 1, Application) != GIF_ERROR &&
           EGifPutExtensionBlock(gif, sizeof LoopForever, LoopForever) != GIF_ERROR &&
           EGifPutExtensionTrailer(gif) != GIF_ERROR;
}

// The frame's delay; the frame stays in place when the next one is drawn.
bool PutFrameControl(GifFileType* gif, int delay) {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = delay;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType bytes[4];
    const std::size_t length = EGifGCBToExtension(&control, bytes);
    return EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), bytes) !=
           GIF_ERROR;
}

// The box's image with its own colour table (padded to a power of two, as GIF requires).
bool PutImage(GifFileType* gif, const PixelBox& box, IndexedPixels& indexed) {
    std::size_t size = 2;
    while (size < indexed.colours.size()) {
        size *= 2;
    }
    std::vector<GifColorType> table(size, GifColorType{0, 0, 0});
    for (std::size_t k = 0; k < indexed.colours.size(); ++k) {
        const QRgb colour = indexed.colours[k];
        table[k] = GifColorType{static_cast<GifByteType>(qRed(colour)),
                                static_cast<GifByteType>(qGreen(colour)),
                                static_cast<GifByteType>(qBlue(colour))};
    }
    const int count = static_cast<int>(size);
    const ColorMapObject map{count, GifBitSize(count), false, table.data()};
    if (EGifPutImageDesc(gif, box.left, box.top, box.width, box.height, false, &map) == GIF_ERROR) {
        return false;
    }
    const auto width = static_cast<std::size_t>(box.width);
    for (std::size_t row = 0; row < static_cast<std::size_t>(box.height); ++row) {
        if (EGifPutLine(gif, indexed.indices.data() + row * width, box.width) == GIF_ERROR) {
            return false;
        }
    }
    return true;
}

std::string SizeText(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

// What went wrong in a write: the file's own error, else giflib's.
std::string WriteFailure(const Sink& sink, int gifError) {
    if (sink.failed) {
        return sink.reason;
    }
    if (sink.device.error() != QFileDevice::NoError) {
        return sink.device.errorString().toStdString();
    }
    const char* text = GifErrorString(gifError);
    return text != nullptr ? text : "GIF error " + std::to_string(gifError);
}

}  // namespace

// The open animation: its file, giflib's encoder and the picture a viewer shows so far.
struct GifWriter::File {
    explicit File(const std::string& fileName) : sink(fileName) {}
    ~File() {
        if (gif != nullptr) {
            EGifCloseFile(gif, nullptr);  // the sink then drops the unfinished file
        }
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    Sink sink;
    GifFileType* gif = nullptr;
    QImage shown;
};

GifWriter::GifWriter() = default;
GifWriter::~GifWriter() = default;

bool GifWriter::Open(const std::string& fileName) {
    if (file_) {
        return Fail("The animation " + fileName_ + " is still being written");
    }
    fileName_ = fileName;
    frameCount_ = 0;
    quantized_ = false;
    finished_ = false;
    failed_ = true;  // until the file is open
    if (fileName.empty()) {
        return Fail("No file name was given for the animation");
    }
    // The file is written beside the target and renamed onto it: that would replace a device
    // or a pipe of that name with a plain file.
    const QFileInfo target(QString::fromStdString(fileName));
    if (target.exists() && !target.isFile()) {
        return Fail("Cannot create " + fileName + ": it is not a regular file");
    }
    auto file = std::make_unique<File>(fileName);
    if (!file->sink.device.open(QIODevice::WriteOnly)) {
        return Fail("Cannot create " + fileName + ": " +
                    file->sink.device.errorString().toStdString());
    }
    int error = 0;
    file->gif = EGifOpen(&file->sink, WriteToSink, &error);
    if (file->gif == nullptr) {
        return Fail("Cannot create " + fileName + ": " + WriteFailure(file->sink, error));
    }
    file_ = std::move(file);
    failed_ = false;
    error_.clear();
    return true;
}

bool GifWriter::AddFrame(const QImage& frame, int delay) {
    if (!file_) {
        return RefuseClosed();
    }
    if (!CheckFrame(frame, delay) || !WriteFrame(frame, delay)) {
        Discard();
        return false;
    }
    error_.clear();
    return true;
}

bool GifWriter::Finish() {
    if (!file_) {
        return RefuseClosed();
    }
    if (frameCount_ == 0) {
        Fail("The animation " + fileName_ + " has no frames");
        Discard();
        return false;
    }
    int error = 0;
    const int closed = EGifCloseFile(file_->gif, &error);  // writes the trailer, frees the encoder
    file_->gif = nullptr;
    Sink& sink = file_->sink;
    // commit() alone reports success when the buffered tail cannot be written (a full disk):
    // the tail is flushed first, and its failure seen.
    errno = 0;
    if (!sink.failed && closed != GIF_ERROR && (!sink.device.flush() || !sink.device.commit())) {
        NoteFailure(sink, errno);
    }
    if (closed == GIF_ERROR || sink.failed) {
        Fail("Cannot write " + fileName_ + ": " + WriteFailure(sink, error));
        Discard();
        return false;
    }
    file_.reset();
    finished_ = true;
    error_.clear();
    return true;
}

// A call that needs an open animation when none is: the failure that closed the last one
// stands, else the reason is given.
bool GifWriter::RefuseClosed() {
    if (failed_) {
        return false;
    }
    return Fail(finished_ ? "The animation " + fileName_ + " is finished" : "No animation is open");
}

bool GifWriter::Fail(const std::string& error) {
    error_ = error;
    return false;
}

void GifWriter::Discard() {
    file_.reset();
    failed_ = true;
}

bool GifWriter::CheckFrame(const QImage& frame, int delay) {
    if (frame.isNull() || frame.width() <= 0 || frame.height() <= 0) {
        return Fail("An empty frame cannot be added to " + fileName_);
    }
    if (delay < 0 || delay > MaxDelay) {
        return Fail("The frame delay " + std::to_string(delay) + " is outside 0 to " +
                    std::to_string(MaxDelay));
    }
    if (frameCount_ == 0) {
        if (frame.width() > MaxSide || frame.height() > MaxSide) {
            return Fail("A " + SizeText(frame.width(), frame.height()) +
                        " picture is larger than a GIF holds");
        }
        return true;
    }
    if (frame.size() != file_->shown.size()) {
        return Fail("The frame is " + SizeText(frame.width(), frame.height()) +
                    " pixels, the animation " +
                    SizeText(file_->shown.width(), file_->shown.height()));
    }
    return true;
}

bool GifWriter::StartPicture(const QImage& frame) {
    file_->shown = QImage(frame.size(), QImage::Format_RGB32);
    if (file_->shown.isNull()) {
        return Fail("Not enough memory for a " + SizeText(frame.width(), frame.height()) +
                    " animation");
    }
    GifFileType* gif = file_->gif;
    EGifSetGifVersion(gif, true);
    if (EGifPutScreenDesc(gif, frame.width(), frame.height(), ColourResolution, 0, nullptr) ==
            GIF_ERROR ||
        !PutLoopForever(gif)) {
        return Fail("Cannot write " + fileName_ + ": " + WriteFailure(file_->sink, gif->Error));
    }
    return true;
}

bool GifWriter::WriteFrame(const QImage& frame, int delay) {
    const QImage rgb = frame.format() == QImage::Format_RGB32
                           ? frame
                           : frame.convertToFormat(QImage::Format_RGB32);
    if (frameCount_ == 0 && !StartPicture(rgb)) {
        return false;
    }
    const PixelBox box = frameCount_ == 0 ? PixelBox{0, 0, rgb.width(), rgb.height()}
                                          : ChangedBox(file_->shown, rgb);
    IndexedPixels indexed;
    if (!IndexExactly(rgb, box, indexed)) {
        if (!IndexReduced(rgb, box, indexed)) {
            return Fail("The colours of a frame of " + fileName_ + " cannot be reduced to 256");
        }
        quantized_ = true;
    }
    GifFileType* gif = file_->gif;
    if (!PutFrameControl(gif, delay) || !PutImage(gif, box, indexed)) {
        return Fail("Cannot write " + fileName_ + ": " + WriteFailure(file_->sink, gif->Error));
    }
    Compose(file_->shown, box, indexed);
    ++frameCount_;
    return true;
}

}  // namespace metopt::platform
