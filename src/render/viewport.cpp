#include "render/viewport.h"

#include <algorithm>
#include <atomic>
#include <cfenv>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <limits>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

#include "core/functions.h"
#include "render/hooks.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"
#include "runtime/numformat.h"
#include "runtime/numparse.h"
#include "runtime/rounding.h"

namespace metopt::render {

core::TRegion VisibleRegion;
long double ZMin = 0;
long double ZMax = 0;
bool ZRangeValid = false;
std::int32_t MinCol = 0;
std::int32_t MinRow = 0;
std::int32_t MapCols = 0;
std::int32_t MapRows = 0;
TGraphParams GraphParams;

namespace {

// The scan starts from these limits, so samples at or beyond them leave them as they are.
// Deliberate: see docs/behaviour.md, "Scan start values".
constexpr long double ScanStartMin = 1e9L;
constexpr long double ScanStartMax = -1e9L;
// Half the width given to a range whose samples were all equal.
// Deliberate: see docs/behaviour.md, "Flat range".
constexpr long double EqualRangeWidening = 0.0001L;
constexpr int ConversionFaults = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

const char* const ScanStatusPrefix = "Расчет значений функции: ";

long double AsReal(std::int64_t n) {
    return static_cast<long double>(n);
}

// Holds a value in memory at this point, so that the compiler computes it neither before the
// flags are cleared nor after they are checked.
void Pin(long double& value) {
    asm volatile("" : "+m"(value) : : "memory");
}

// Tracks the floating-point fault of the first step of a computation that raised one: what a
// trap at that step would report. (The flags alone, read at the end, would report the gravest
// of all the faults raised on the way: an overflow followed by inf * 0 would read as invalid.)
class FirstFault {
  public:
    FirstFault() { runtime::ClearFpuFlags(); }
    ~FirstFault() { runtime::ClearFpuFlags(); }
    FirstFault(const FirstFault&) = delete;
    FirstFault& operator=(const FirstFault&) = delete;

    // The result of one step, taken here and not later.
    long double Step(long double value) {
        Pin(value);
        if (faults_ == 0)
            faults_ = std::fetestexcept(ConversionFaults);
        return value;
    }
    int Faults() const { return faults_; }

  private:
    int faults_ = 0;
};

// Raises the floating-point error that the given faults stand for.
[[noreturn]] void RaiseFaults(int faults) {
    runtime::ClearFpuFlags();
    std::feraiseexcept(faults);
    runtime::CheckFpu();
    std::terminate();  // not reached: CheckFpu raises for any of the conversion faults
}

// The sampled coordinate of pixel index i along an axis from `first` (index 1) to `last` (index
// count): ((i - 1) * (last - first)) / (count - 1) + first, in that order, the integers
// subtracted before the conversion. Every sampler uses this one routine, so they agree bit for bit.
long double SampledCoordinate(std::int32_t i, long double first, long double last,
                              std::int32_t count, int& faults) {
    FirstFault fault;
    const long double span = fault.Step(last - first);
    const long double offset = fault.Step(AsReal(std::int64_t{i} - 1) * span);
    const long double share = fault.Step(offset / AsReal(std::int64_t{count} - 1));
    const long double value = fault.Step(share + first);
    faults = fault.Faults();
    return value;
}

long double SampledX(std::int32_t col, int& faults) {
    return SampledCoordinate(col, VisibleRegion.Xb, VisibleRegion.Xe, MapCols, faults);
}

// y runs from Ye in row 1 down to Yb.
long double SampledY(std::int32_t row, int& faults) {
    return SampledCoordinate(row, VisibleRegion.Ye, VisibleRegion.Yb, MapRows, faults);
}

long double Checked(long double value, int faults) {
    if (faults != 0)
        RaiseFaults(faults);
    return value;
}

// The pixel of coordinate v along an axis whose pixel 1 is at `first` and pixel `size` at
// `last`: FloorInt(((v - first) * (size - 1)) / (last - first) + 1).
// Deliberate: see docs/behaviour.md, "Pixel spans".
std::int32_t PixelOf(long double v, long double first, long double last, int size) {
    FirstFault fault;
    const long double offset = fault.Step(v - first);
    const long double scaled = fault.Step(offset * AsReal(std::int64_t{size} - 1));
    const long double span = fault.Step(last - first);
    const long double share = fault.Step(scaled / span);
    const long double pixel = fault.Step(share + 1);
    // Deliberate: see docs/behaviour.md, "Before a map".
    return runtime::FloorInt(Checked(pixel, fault.Faults()));
}

std::int32_t Narrow(std::int64_t n) {
    return static_cast<std::int32_t>(n);
}

// Deliberate: see docs/behaviour.md, "Lenient numbers".
void ReadReals(const GraphFieldTexts& fields, TGraphParams& params) {
    params.Xb = runtime::ParseNumber(fields.Xb);
    params.Yb = runtime::ParseNumber(fields.Yb);
    params.Xe = runtime::ParseNumber(fields.Xe);
    params.Ye = runtime::ParseNumber(fields.Ye);
    params.Xc = runtime::ParseNumber(fields.Xc);
    params.Yc = runtime::ParseNumber(fields.Yc);
    params.Xs = runtime::ParseNumber(fields.Xs);
    params.Ys = runtime::ParseNumber(fields.Ys);
}

// The plotting rectangle of an area at (left, top) of W x H: the sampled columns and rows, the
// right and bottom edges excluded.
void SetRectangle(TGraphParams& params, int left, int top, int W, int H) {
    const std::int64_t l = std::int64_t{left} + 1;
    const std::int64_t t = std::int64_t{top} + 1;
    params.Left = Narrow(l);
    params.Top = Narrow(t);
    params.Right = Narrow(l + (std::int64_t{W} - 1) - 1);
    params.Bottom = Narrow(t + (std::int64_t{H} - 1) - 1);
}

void RefreshReal(long double& target, const std::string& text) {
    try {
        target = runtime::ParseNumber(text);
    } catch (const runtime::Exception&) {
        // keeps the last good value
    }
}

void RefreshCount(std::int32_t& target, const std::string& text) {
    try {
        target = runtime::ParseInteger(text);
    } catch (const runtime::Exception&) {
        // keeps the last good value
    }
}

// The samples of the last scan of one of the program's own functions, with what they were made for.
struct SampleStore {
    std::unique_ptr<long double[]> values;
    core::TObjectiveFunc func = nullptr;
    core::TRegion region;
    std::int32_t cols = 0;
    std::int32_t rows = 0;
};
SampleStore Kept;

// At most this many samples are kept (1 GiB; an 8K area has half as many): a larger area is
// scanned row by row on one thread, its samples evaluated again by the fill.
constexpr std::size_t MaxKeptSamples = std::size_t{1} << 26;

// An extended real's value lies in its first ten bytes; the rest of its storage is padding.
constexpr std::size_t ExtendedValueBytes = 10;

bool SameBits(long double a, long double b) {
    return std::memcmp(&a, &b, ExtendedValueBytes) == 0;
}

bool SameRegion(const core::TRegion& a, const core::TRegion& b) {
    return SameBits(a.Xb, b.Xb) && SameBits(a.Xe, b.Xe) && SameBits(a.Yb, b.Yb) &&
           SameBits(a.Ye, b.Ye);
}

// Room for the samples of MapCols x MapRows, or nullptr when there is nothing to sample or the
// memory cannot be had (the scan then keeps nothing and works row by row).
std::unique_ptr<long double[]> SampleBuffer() {
    if (MapCols <= 0 || MapRows <= 0)
        return nullptr;
    const auto count = static_cast<std::size_t>(MapCols) * static_cast<std::size_t>(MapRows);
    if (count > MaxKeptSamples)
        return nullptr;
    return std::unique_ptr<long double[]>(new (std::nothrow) long double[count]);
}

// The workers of one RowPass. The calling thread waits for each row in order; a row that raised,
// or a stop, ends the claims of rows beyond it. The destructor stops and joins every worker, so
// no worker outlives the pass whatever it ends with.
class RowTeam {
  public:
    RowTeam(std::int32_t rows, unsigned threads, const std::function<void(std::int32_t)>& work)
        : work_(work),
          done_(static_cast<std::size_t>(rows) + 1, 0),
          failures_(static_cast<std::size_t>(rows) + 1),
          lastRow_(rows) {
        std::fegetenv(&environment_);
        workers_.reserve(threads);  // so that starting a worker can only fail as a system error
        for (unsigned i = 0; i < threads; ++i) {
            try {
                workers_.emplace_back([this] { Serve(); });
            } catch (const std::system_error&) {
                break;  // fewer threads; the calling thread does the rows no worker took
            }
        }
    }
    ~RowTeam() {
        lastRow_.store(0);
        for (std::thread& worker : workers_)
            worker.join();
    }
    RowTeam(const RowTeam&) = delete;
    RowTeam& operator=(const RowTeam&) = delete;

    // Stops claims of rows after this one.
    void StopAfter(std::int32_t row) { LowerLastRow(row); }

    // Waits until the row is done (doing it here if no worker could be started); true when its
    // work raised.
    bool Await(std::int32_t row) {
        if (workers_.empty()) {
            Claim(row);
        } else {
            std::unique_lock<std::mutex> lock(mutex_);
            rowDone_.wait(lock, [&] { return done_[static_cast<std::size_t>(row)] != 0; });
        }
        return failures_[static_cast<std::size_t>(row)] != nullptr;
    }
    [[noreturn]] void Raise(std::int32_t row) {
        std::rethrow_exception(failures_[static_cast<std::size_t>(row)]);
    }

  private:
    void Serve() {
        std::fesetenv(&environment_);
        runtime::ClearFpuFlags();
        for (;;) {
            const std::int32_t row = nextRow_.fetch_add(1) + 1;
            if (row > lastRow_.load())
                return;
            Claim(row);
        }
    }

    void Claim(std::int32_t row) {
        std::exception_ptr failure;
        try {
            work_(row);
        } catch (...) {
            failure = std::current_exception();
            LowerLastRow(row);
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            failures_[static_cast<std::size_t>(row)] = failure;
            done_[static_cast<std::size_t>(row)] = 1;
        }
        rowDone_.notify_all();
    }

    void LowerLastRow(std::int32_t row) {
        std::int32_t last = lastRow_.load();
        while (row < last && !lastRow_.compare_exchange_weak(last, row)) {
        }
    }

    const std::function<void(std::int32_t)>& work_;
    std::fenv_t environment_{};
    std::mutex mutex_;
    std::condition_variable rowDone_;
    std::vector<unsigned char> done_;
    std::vector<std::exception_ptr> failures_;
    std::atomic<std::int32_t> nextRow_{0};
    std::atomic<std::int32_t> lastRow_;
    std::vector<std::thread> workers_;
};

// One row's work on the calling thread, right after its beforeRow.
std::int32_t RunRowsHere(std::int32_t rows, const RowPass& pass) {
    for (std::int32_t row = 1; row <= rows; ++row) {
        if (!pass.beforeRow(row))
            return row;
        std::exception_ptr failure;
        try {
            pass.work(row);
        } catch (...) {
            failure = std::current_exception();
        }
        pass.afterRow(row, failure != nullptr);
        if (failure)
            std::rethrow_exception(failure);
    }
    return 0;
}

std::int32_t RunRowsOnWorkers(std::int32_t rows, unsigned threads, const RowPass& pass) {
    RowTeam team(rows, threads, pass.work);
    for (std::int32_t row = 1; row <= rows; ++row) {
        if (!pass.beforeRow(row)) {
            team.StopAfter(0);
            return row;
        }
        const bool failed = team.Await(row);
        pass.afterRow(row, failed);
        if (failed)
            team.Raise(row);
    }
    return 0;
}

// The largest and the first smallest of the samples of one row taken so far, by the scan's own
// strict comparisons. Taking the rows' extremes in scan order leaves the range and the smallest
// sample that taking every sample in scan order leaves.
struct RowExtremes {
    long double max = -std::numeric_limits<long double>::infinity();
    long double min = std::numeric_limits<long double>::infinity();
    std::int32_t minCol = 0;

    void Take(long double z, std::int32_t col) {
        if (z > max)
            max = z;
        if (z < min) {
            min = z;
            minCol = col;
        }
    }
};

void TakeRow(const RowExtremes& row, std::int32_t rowNumber) {
    if (row.max > ZMax)
        ZMax = row.max;
    if (row.min < ZMin) {
        ZMin = row.min;
        MinCol = row.minCol;
        MinRow = rowNumber;
    }
}
}  // namespace

void ResetViewport() {
    VisibleRegion = core::TRegion{};
    ZMin = 0;
    ZMax = 0;
    ZRangeValid = false;
    MinCol = 0;
    MinRow = 0;
    MapCols = 0;
    MapRows = 0;
    GraphParams = TGraphParams{};
    ReleaseKeptSamples();
}

std::int32_t XToColumn(long double x, int W) {
    return PixelOf(x, VisibleRegion.Xb, VisibleRegion.Xe, W);
}

std::int32_t YToRow(long double y, int H) {
    return PixelOf(y, VisibleRegion.Ye, VisibleRegion.Yb, H);
}

long double ColumnToX(std::int32_t col) {
    int faults = 0;
    const long double x = SampledX(col, faults);
    return Checked(x, faults);
}

long double RowToY(std::int32_t row) {
    int faults = 0;
    const long double y = SampledY(row, faults);
    return Checked(y, faults);
}

long double ValueAtPixel(std::int32_t col, std::int32_t row) {
    const long double x = ColumnToX(col);
    const long double y = RowToY(row);
    return core::CurrentFunc(x, y);
}

PixelSampler::PixelSampler() {
    const std::int32_t columns = std::max<std::int32_t>(MapCols, 0);
    columnX_.resize(static_cast<std::size_t>(columns));
    columnFaults_.resize(static_cast<std::size_t>(columns));
    for (std::int32_t col = 1; col <= columns; ++col) {
        const auto i = static_cast<std::size_t>(col - 1);
        columnX_[i] = SampledX(col, columnFaults_[i]);
        if (columnFaults_[i] != 0)
            anyColumnFault_ = true;
    }
}

PixelSampler::Row PixelSampler::RowAt(std::int32_t row) const {
    Row r;
    r.row = row;
    r.y = SampledY(row, r.faults);
    return r;
}

long double PixelSampler::ValueIn(const Row& row, std::int32_t col) const {
    if (col < 1 || static_cast<std::size_t>(col) > columnX_.size())
        return ValueAtPixel(col, row.row);
    const auto i = static_cast<std::size_t>(col - 1);
    // ValueAtPixel's order: the x conversion, then the y conversion, then the function.
    if (anyColumnFault_ && columnFaults_[i] != 0)
        RaiseFaults(columnFaults_[i]);
    if (row.faults != 0)
        RaiseFaults(row.faults);
    return core::CurrentFunc(columnX_[i], row.y);
}

void PixelSampler::BeginRow(std::int32_t row) {
    row_ = RowAt(row);
}

long double PixelSampler::Value(std::int32_t col) const {
    return ValueIn(row_, col);
}

unsigned SamplingThreads() {
    return std::max(1u, std::thread::hardware_concurrency());
}

bool CurrentFuncIsPure() {
    return std::find(std::begin(core::ObjectiveFuncs), std::end(core::ObjectiveFuncs),
                     core::CurrentFunc) != std::end(core::ObjectiveFuncs);
}

const long double* KeptSamples() {
    const bool current = ZRangeValid && Kept.values && Kept.func == core::CurrentFunc &&
                         SameRegion(Kept.region, VisibleRegion) && Kept.cols == MapCols &&
                         Kept.rows == MapRows;
    return current ? Kept.values.get() : nullptr;
}

PixelValues::PixelValues() : kept_(KeptSamples()) {}

unsigned PixelValues::Threads(unsigned wanted) const {
    return kept_ || CurrentFuncIsPure() ? wanted : 1;
}

PixelValues::Row PixelValues::RowAt(std::int32_t row) const {
    Row values;
    values.sampled = sampler_.RowAt(row);
    if (kept_)
        values.kept = kept_ + static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(MapCols);
    return values;
}

void ReleaseKeptSamples() {
    Kept = SampleStore{};
}

std::int32_t RunRowPass(std::int32_t rows, unsigned threads, const RowPass& pass) {
    if (threads <= 1 || rows <= 1)
        return RunRowsHere(rows, pass);
    return RunRowsOnWorkers(rows, std::min<unsigned>(threads, static_cast<unsigned>(rows)), pass);
}

PixelRows::PixelRows(platform::Canvas& canvas)
    : bits_(canvas.Image().bits()),
      bytesPerLine_(canvas.Image().bytesPerLine()),
      width_(canvas.Width()),
      height_(canvas.Height()) {}

void PixelRows::Set(int x, int y, std::int32_t color) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    reinterpret_cast<QRgb*>(bits_ + y * bytesPerLine_)[x] = platform::ToQRgb(color);
}

void ScanValueRange(const GraphFieldTexts& fields) {
    ScanValueRange(fields, SamplingThreads());
}

void ScanValueRange(const GraphFieldTexts& fields, unsigned threads) {
    ZMin = ScanStartMin;
    ZMax = ScanStartMax;
    core::TRegion region;
    region.Xb = runtime::ParseNumber(fields.Xb);
    region.Xe = runtime::ParseNumber(fields.Xe);
    region.Yb = runtime::ParseNumber(fields.Yb);
    region.Ye = runtime::ParseNumber(fields.Ye);
    VisibleRegion = region;
    ReleaseKeptSamples();

    // The program's own functions are sampled into one buffer, kept afterwards, and may be
    // sampled on several threads; any other function on this thread, in scan order.
    std::unique_ptr<long double[]> all = CurrentFuncIsPure() ? SampleBuffer() : nullptr;
    if (!all)
        threads = 1;
    const std::int32_t cols = MapCols;
    // Each row's extremes, written by the thread that samples the row.
    std::vector<RowExtremes> extremes(static_cast<std::size_t>(std::max(MapRows, 0)) + 1);

    const PixelSampler sampler;
    RowPass pass;
    pass.beforeRow = [](std::int32_t row) {
        ShowStatus(ScanStatusPrefix + RowPercent(row, MapRows) + "%");
        return true;
    };
    pass.work = [&](std::int32_t row) {
        long double* values =
            all ? all.get() + static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(cols)
                : nullptr;
        const PixelSampler::Row sampledRow = sampler.RowAt(row);
        RowExtremes& rowExtremes = extremes[static_cast<std::size_t>(row)];
        for (std::int32_t col = 1; col <= cols; ++col) {
            // A failing sample leaves the extremes of the samples before it.
            const long double z = sampler.ValueIn(sampledRow, col);
            rowExtremes.Take(z, col);
            if (values)
                values[col - 1] = z;
        }
    };
    pass.afterRow = [&](std::int32_t row, bool) {
        TakeRow(extremes[static_cast<std::size_t>(row)], row);
    };
    RunRowPass(MapRows, threads, pass);

    if (ZMin == ZMax) {
        ZMin = ZMin - EqualRangeWidening;
        ZMax = ZMax + EqualRangeWidening;
    }
    ZRangeValid = true;
    if (all) {
        Kept.values = std::move(all);
        Kept.func = core::CurrentFunc;
        Kept.region = VisibleRegion;
        Kept.cols = MapCols;
        Kept.rows = MapRows;
    }
}

void ReadGraphParams(const GraphFieldTexts& fields, int left, int top, int W, int H) {
    ReadReals(fields, GraphParams);
    // Both counts are read before either is stored, so a bad one leaves both as they were.
    // Deliberate: see docs/behaviour.md, "Strict counts".
    const std::int32_t sgXs = runtime::ParseInteger(fields.SgXs);
    const std::int32_t sgYs = runtime::ParseInteger(fields.SgYs);
    GraphParams.SgXs = sgXs;
    GraphParams.SgYs = sgYs;
    SetRectangle(GraphParams, left, top, W, H);
}

// Deliberate: see docs/behaviour.md, "Repaint never fails".
void RefreshGraphParams(const GraphFieldTexts& fields, int left, int top, int W, int H) {
    TGraphParams& p = GraphParams;
    RefreshReal(p.Xb, fields.Xb);
    RefreshReal(p.Yb, fields.Yb);
    RefreshReal(p.Xe, fields.Xe);
    RefreshReal(p.Ye, fields.Ye);
    RefreshReal(p.Xc, fields.Xc);
    RefreshReal(p.Yc, fields.Yc);
    RefreshReal(p.Xs, fields.Xs);
    RefreshReal(p.Ys, fields.Ys);
    RefreshCount(p.SgXs, fields.SgXs);
    RefreshCount(p.SgYs, fields.SgYs);
    SetRectangle(p, left, top, W, H);
}

// Deliberate: see docs/behaviour.md, "Mouse readout".
MouseReadout MouseReadoutAt(int X, int Y, int W, int H) {
    MouseReadout readout;
    int faults = 0;
    // Shown wherever the pointer is, extrapolated off the sampled pixels; a zero divisor gives
    // INF or NAN rather than an error box at every move of the mouse.
    readout.x = "x=" + runtime::FormatGeneral(SampledX(X, faults));
    readout.y = "y=" + runtime::FormatGeneral(SampledY(Y, faults));
    const bool onSampledPixel = X > 0 && Y > 0 && std::int64_t{X} < std::int64_t{W} - 1 &&
                                std::int64_t{Y} < std::int64_t{H} - 1;
    if (!onSampledPixel) {
        // Deliberate: see docs/behaviour.md, "English runtime texts".
        readout.z = "Out of range";
        return readout;
    }
    try {
        readout.z = "z=" + runtime::FormatGeneral(ValueAtPixel(X, Y));
    } catch (const runtime::Exception& e) {
        readout.z = "z=" + e.Message();
    }
    return readout;
}

std::string RowPercent(std::int32_t row, std::int32_t rows) {
    runtime::ClearFpuFlags();
    long double hundredfold = AsReal(std::int64_t{row} * 100);
    Pin(hundredfold);
    long double share = hundredfold / AsReal(rows);
    Pin(share);
    runtime::CheckFpu();
    return runtime::FormatGeneral(runtime::IntPart(share));
}

}  // namespace metopt::render
