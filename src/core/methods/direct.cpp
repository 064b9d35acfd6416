// The direct methods, which evaluate f alone: Hooke–Jeeves pattern search and the Nelder–Mead
// simplex. They stop by their own size rule, not by the chosen one.
#include <algorithm>
#include <array>
#include <cstdint>

#include "core/methods/methodrun.h"
#include "runtime/fpu.h"

namespace metopt::core::methods {

namespace {

struct Evaluated {
    Point p;
    long double f;
};

// a + k·(b − a), checked.
Point Toward(Point a, Point b, long double k) {
    runtime::ClearFpuFlags();
    const Point q{a.X + k * (b.X - a.X), a.Y + k * (b.Y - a.Y)};
    runtime::CheckFpu();
    return q;
}

// (a + b)/2, checked.
Point Mean(Point a, Point b) {
    runtime::ClearFpuFlags();
    const Point m{(a.X + b.X) / 2, (a.Y + b.Y) / 2};
    runtime::CheckFpu();
    return m;
}

// --- Hooke–Jeeves ---

// One probe along an axis: p + Δ·e if that lowers f strictly, else p − Δ·e if that does.
Evaluated Probe(const TMethodRun& run, Evaluated p, long double dx, long double dy) {
    for (const long double sign : {1.0L, -1.0L}) {
        const Point q = Along(p.p, sign, dx, dy);
        const long double fq = run.Value(q);
        if (fq < p.f)
            return {q, fq};
    }
    return p;
}

Evaluated Explore(const TMethodRun& run, Evaluated p, long double delta) {
    return Probe(run, Probe(run, p, delta, 0), 0, delta);
}

}  // namespace

void RunHookeJeeves(TMethodRun& run, Point start) {
    long double delta = run.Step();
    Evaluated base{start, run.Value(start)};
    bool moved = false;
    for (;;) {
        Evaluated n = Explore(run, base, delta);
        if (n.f < base.f) {
            do {
                run.Begin();
                moved = true;
                if (run.EndWithoutRule(n.p))
                    return;
                // n + (n − b): the move repeated from n.
                runtime::ClearFpuFlags();
                const Point pattern{n.p.X + (n.p.X - base.p.X), n.p.Y + (n.p.Y - base.p.Y)};
                runtime::CheckFpu();
                base = n;
                n = Explore(run, {pattern, run.Value(pattern)}, delta);
            } while (n.f < base.f);
            continue;
        }
        delta = delta / 2;
        if (delta < run.Eps()) {
            if (!moved)
                run.Begin();
            run.StopAt(base.p, TStopReason::SearchStep);
            return;
        }
    }
}

// --- Nelder–Mead ---

namespace {

struct Vertex {
    Point p;
    long double f;
    std::uint64_t age;  // ties of f keep the older vertex first
};

using Simplex = std::array<Vertex, 3>;

void Order(Simplex& s) {
    std::sort(s.begin(), s.end(), [](const Vertex& a, const Vertex& b) {
        return a.f < b.f || (a.f == b.f && a.age < b.age);
    });
}

bool SmallerThan(const Simplex& s, long double eps) {
    for (std::size_t i = 1; i < s.size(); ++i) {
        if (!(Distance(s[0].p.X, s[0].p.Y, s[i].p.X, s[i].p.Y) < eps))
            return false;
    }
    return true;
}

class NelderMead {
  public:
    NelderMead(const TMethodRun& run, Point start) : run_(run) {
        const long double h = run.Step();
        for (const Point p : {start, Along(start, h, 1, 0), Along(start, h, 0, 1)}) {
            s_[age_] = {p, run.Value(p), age_};
            ++age_;
        }
        Order(s_);
    }

    // One iteration; the simplex is ordered again after it.
    void Iterate() {
        const Vertex& best = s_[0];
        const Vertex& second = s_[1];
        const Vertex& worst = s_[2];
        const Point c = Mean(best.p, second.p);
        const Evaluated r = At(Toward(c, worst.p, -1));
        if (r.f < best.f) {
            const Evaluated e = At(Toward(c, worst.p, -2));
            ReplaceWorst(e.f < r.f ? e : r);
        } else if (r.f < second.f) {
            ReplaceWorst(r);
        } else if (r.f < worst.f) {
            const Evaluated oc = At(Toward(c, r.p, 0.5L));
            ContractOrShrink(oc, !(oc.f > r.f));
        } else {
            const Evaluated ic = At(Toward(c, worst.p, 0.5L));
            ContractOrShrink(ic, ic.f < worst.f);
        }
        Order(s_);
    }

    const Simplex& Vertices() const { return s_; }

  private:
    Evaluated At(Point p) const { return {p, run_.Value(p)}; }

    void ReplaceWorst(const Evaluated& v) { s_[2] = {v.p, v.f, age_++}; }

    void ContractOrShrink(const Evaluated& v, bool accept) {
        if (accept) {
            ReplaceWorst(v);
            return;
        }
        // Every vertex but the best halves its distance to the best.
        for (std::size_t i = 1; i < s_.size(); ++i) {
            const Point p = Toward(s_[0].p, s_[i].p, 0.5L);
            s_[i] = {p, run_.Value(p), age_++};
        }
    }

    const TMethodRun& run_;
    Simplex s_{};
    std::uint64_t age_ = 0;
};

}  // namespace

void RunNelderMead(TMethodRun& run, Point start) {
    NelderMead simplex(run, start);
    for (;;) {
        run.Begin();
        simplex.Iterate();
        const Simplex& s = simplex.Vertices();
        run.Descent().Simplices.push_back({s[0].p, s[1].p, s[2].p});
        if (SmallerThan(s, run.Eps())) {
            run.StopAt(s[0].p, TStopReason::Simplex);
            return;
        }
        if (run.EndWithoutRule(s[0].p))
            return;
    }
}

}  // namespace metopt::core::methods
