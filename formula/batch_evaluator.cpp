// The batch evaluator: settles a program once, then runs it step by step across blocks of points.
#include "formula/batch_evaluator.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

#include "common/assert.h"
#include "formula/evaluator_steps.h"

using namespace evaluator_steps;

namespace {

constexpr int STACK_SIZE = 100;
constexpr int32_t NO_FAILURE = INT32_MAX;

using Kind = BatchEvaluator::Kind;

// Constants and coefficients are the same at every point of a call.
bool IsUniform(Kind kind) {
    return kind == BatchEvaluator::KIND_CONST || kind == BatchEvaluator::KIND_COEF;
}

// The kinds are bits: coefficients 1, X 2.
Kind Join(Kind a, Kind b) {
    return static_cast<Kind>(a | b);
}

bool IsFunction(int32_t op) {
    return (op >= OP_SIN && op <= OP_ATAN) || (op >= OP_ASINH && op <= OP_COTANH) ||
           (op >= OP_INT && op <= OP_POS);
}

// Products and quotients go across the block in groups of LANES points with the compilers'
// generic vector types (GCC and clang; two doubles, the width of every 64-bit vector unit);
// elsewhere, and for the last points of a block, one point at a time.
#if defined(__GNUC__)
#define KURVO_VECTOR_LANES 1
constexpr int LANES = 2;
typedef double Lanes __attribute__((vector_size(LANES * sizeof(double))));
typedef int64_t Mask __attribute__((vector_size(LANES * sizeof(double))));

Lanes Broadcast(double value) {
    return Lanes{value, value};
}

Lanes Magnitude(Lanes value) {
    return reinterpret_cast<Lanes>(reinterpret_cast<Mask>(value) & INT64_MAX);
}

bool AnyLane(Lanes count) {
    return count[0] + count[1] != 0.0;
}
#else
constexpr int LANES = 1;
#endif

// An operand that varies across the block, and one that is the same at every point.
struct Across {
    const double* values;
    double operator[](int p) const { return values[p]; }
#ifdef KURVO_VECTOR_LANES
    Lanes At(int p) const {
        Lanes lanes;
        std::memcpy(&lanes, values + p, sizeof lanes);
        return lanes;
    }
#endif
};
struct Same {
    double value;
    double operator[](int) const { return value; }
#ifdef KURVO_VECTOR_LANES
    Lanes At(int) const {
        return Broadcast(value);
    }
#endif
};

// The common case of Multiply and Divide, which needs no test of the order of magnitude.
inline bool PlainOperands(double a, double b) {
    const double ma = std::fabs(a);
    const double mb = std::fabs(b);
    return ma >= PRODUCT_LOW && ma <= PRODUCT_HIGH && mb >= PRODUCT_LOW && mb <= PRODUCT_HIGH;
}
inline bool PlainProduct(double a, double b) {
    return PlainOperands(a, b) || a == 0.0 || b == 0.0;
}
inline bool PlainQuotient(double a, double b) {
    return b != 0.0 && (PlainOperands(a, b) || a == 0.0);
}

#ifdef KURVO_VECTOR_LANES
// The same tests on LANES points: a lane of all ones where the case is plain.
Mask PlainOperands(Lanes a, Lanes b) {
    const Lanes low = Broadcast(PRODUCT_LOW);
    const Lanes high = Broadcast(PRODUCT_HIGH);
    const Lanes ma = Magnitude(a);
    const Lanes mb = Magnitude(b);
    return (ma >= low) & (ma <= high) & (mb >= low) & (mb <= high);
}
Mask PlainProduct(Lanes a, Lanes b) {
    const Lanes zero = Broadcast(0.0);
    return PlainOperands(a, b) | (a == zero) | (b == zero);
}
Mask PlainQuotient(Lanes a, Lanes b) {
    const Lanes zero = Broadcast(0.0);
    return (b != zero) & (PlainOperands(a, b) | (a == zero));
}
#endif

// Whether no value of the block fails the clamp (a NaN fails it).
bool InsideClamp(const double* values, int n) {
    int p = 0;
    bool outside = false;
#ifdef KURVO_VECTOR_LANES
    const Lanes none = Broadcast(0.0);
    const Lanes one = Broadcast(1.0);
    const Lanes high = Broadcast(CLAMP_HIGH);
    Lanes lanesOutside = none;
    for (; p + LANES <= n; p += LANES) {
        Lanes lanes;
        std::memcpy(&lanes, values + p, sizeof lanes);
        lanesOutside += Magnitude(lanes) <= high ? none : one;
    }
    outside = AnyLane(lanesOutside);
#endif
    for (; p < n; ++p) outside |= AboveClamp(values[p]);
    return !outside;
}

// ln|a| computed for the block beforehand; e^y fresh, as PowerCache gives it.
struct GivenLog {
    double log;
    double LogOf(double) const { return log; }
    double ExpOf(double y) const { return std::exp(y); }
};

// The two guarded operators: the plain case, its operation, and the exact guard.
struct Product {
    template <typename T>
    static auto Plain(T a, T b) {
        return PlainProduct(a, b);
    }
    template <typename T>
    static T Apply(T a, T b) {
        return a * b;
    }
    static double Guarded(double a, double b, int& code) { return Multiply(a, b, code); }
};
struct Quotient {
    template <typename T>
    static auto Plain(T a, T b) {
        return PlainQuotient(a, b);
    }
    template <typename T>
    static T Apply(T a, T b) {
        return a / b;
    }
    static double Guarded(double a, double b, int& code) { return Divide(a, b, code); }
};

// Products and quotients: every point at once, then the exact guard for those outside the
// plain case (rare: an operand beyond 1e-18..1e18 or a zero divisor).
template <typename Operator, typename A, typename B, typename F>
void GuardedAcross(A a, B b, double* out, int n, int32_t place, F& failures) {
    bool outside = false;
    int p = 0;
#ifdef KURVO_VECTOR_LANES
    // Counts the points outside the plain case (a sum of the lanes' masks would be normalised
    // lane by lane; a sum of doubles is not).
    const Lanes none = Broadcast(0.0);
    const Lanes one = Broadcast(1.0);
    Lanes lanesOutside = none;
    for (; p + LANES <= n; p += LANES) {
        const Lanes x = a.At(p);
        const Lanes y = b.At(p);
        const Lanes result = Operator::Apply(x, y);
        std::memcpy(out + p, &result, sizeof result);
        lanesOutside += Operator::Plain(x, y) ? none : one;
    }
    outside = AnyLane(lanesOutside);
#endif
    for (; p < n; ++p) {
        out[p] = Operator::Apply(a[p], b[p]);
        outside |= !Operator::Plain(a[p], b[p]);
    }
    if (!outside) return;
    for (p = 0; p < n; ++p) {
        if (Operator::Plain(a[p], b[p])) continue;
        int code = EVAL_OK;
        out[p] = Operator::Guarded(a[p], b[p], code);
        if (code != EVAL_OK) failures.Note(p, place, code);
    }
}

// The kind of an exponent that is the same at every point (X^2, X^3) is settled once.
template <typename A, typename B, typename L, typename F>
void PowerAcross(A a, B b, L log, double* out, int n, int32_t place, F& failures) {
    [[maybe_unused]] ExponentKind same{};
    if constexpr (std::is_same_v<B, Same>) same = KindOfExponent(b.value);
    for (int p = 0; p < n; ++p) {
        GivenLog logs{log[p]};
        int code = EVAL_OK;
        if constexpr (std::is_same_v<B, Same>)
            out[p] = Power(a[p], b.value, same, logs, code);
        else
            out[p] = Power(a[p], b[p], logs, code);
        if (code != EVAL_OK) failures.Note(p, place, code);
    }
}

// A binary step with operand a of type A and b of type B; `log` holds ln|a| for a power.
template <typename A, typename B, typename L, typename F>
void BinaryAcross(int32_t op, A a, B b, L log, double* out, int n, int32_t place, F& failures) {
    switch (op) {
        case OP_ADD:
            for (int p = 0; p < n; ++p) out[p] = a[p] + b[p];
            return;
        case OP_SUB:
            for (int p = 0; p < n; ++p) out[p] = a[p] - b[p];
            return;
        case OP_MUL:
            GuardedAcross<Product>(a, b, out, n, place, failures);
            return;
        case OP_DIV:
            GuardedAcross<Quotient>(a, b, out, n, place, failures);
            return;
        default:
            PowerAcross(a, b, log, out, n, place, failures);
            return;
    }
}

// The C library's functions stay scalar (a vector version would change bits); the opcode is
// a constant in each loop. The common case, no failure and every result inside the clamp, costs
// the calls and two plain loops; a block with an exception is done again point by point with the
// exact order of the tests.
template <int32_t OP, typename F>
void FunctionAcross(const double* a, double* out, int n, int32_t place, F& failures) {
    int failed = EVAL_OK;
    for (int p = 0; p < n; ++p) {
        double result = 0.0;
        failed |= FunctionOf(OP, a[p], result);
        out[p] = result;
    }
    if (failed == EVAL_OK && InsideClamp(out, n)) {
        for (int p = 0; p < n; ++p) out[p] = ClampLow(out[p]);
        return;
    }
    for (int p = 0; p < n; ++p) {
        const double x = a[p];
        double result = 0.0;
        const int code = ClampFunction(x, FunctionOf(OP, x, result), result);
        out[p] = result;
        if (code != EVAL_OK) failures.Note(p, place, code);
    }
}

template <typename F>
void FunctionDispatch(int32_t op, const double* a, double* out, int n, int32_t place, F& failures) {
    switch (op) {
#define FUNCTION_CASE(OPCODE)                               \
    case OPCODE:                                            \
        FunctionAcross<OPCODE>(a, out, n, place, failures); \
        return;
        FUNCTION_CASE(OP_SIN)
        FUNCTION_CASE(OP_COS)
        FUNCTION_CASE(OP_TAN)
        FUNCTION_CASE(OP_SINH)
        FUNCTION_CASE(OP_COSH)
        FUNCTION_CASE(OP_TANH)
        FUNCTION_CASE(OP_ASIN)
        FUNCTION_CASE(OP_ACOS)
        FUNCTION_CASE(OP_ATAN)
        FUNCTION_CASE(OP_ASINH)
        FUNCTION_CASE(OP_ACOSH)
        FUNCTION_CASE(OP_ATANH)
        FUNCTION_CASE(OP_EXP)
        FUNCTION_CASE(OP_LN)
        FUNCTION_CASE(OP_LOG)
        FUNCTION_CASE(OP_SQRT)
        FUNCTION_CASE(OP_COTAN)
        FUNCTION_CASE(OP_COTANH)
        FUNCTION_CASE(OP_INT)
        FUNCTION_CASE(OP_ABS)
        FUNCTION_CASE(OP_ANINT)
        FUNCTION_CASE(OP_SIGN)
        FUNCTION_CASE(OP_AINT)
        FUNCTION_CASE(OP_FACT)
        FUNCTION_CASE(OP_NEG)
        FUNCTION_CASE(OP_POS)
#undef FUNCTION_CASE
        default:
            return;
    }
}

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

BatchEvaluator::BatchEvaluator(const CompiledFormula& program) {
    Settle(program);
    const int count = static_cast<int>(steps_.size());
    scalar_.assign(count, 0.0);
    in_.assign(count, nullptr);
    slot_.assign(count, nullptr);
    cacheRow_.assign(count, -1);
    int computed = 0;
    for (int id = 0; id < count; ++id) {
        const Step& step = steps_[id];
        switch (step.kind) {
            case KIND_CONST:
                break;
            case KIND_COEF:
                coefSteps_.push_back(id);
                break;
            case KIND_X:
                cacheRow_[id] = static_cast<int32_t>(xValues_.size());
                xValues_.push_back(id);
                if (step.op == OP_X) {
                    xPush_ = id;
                } else {
                    xSteps_.push_back(id);
                    allSteps_.push_back(id);
                    ++computed;
                }
                break;
            case KIND_MIXED:
                mixedSteps_.push_back(id);
                allSteps_.push_back(id);
                ++computed;
                break;
        }
    }
    slots_.assign(static_cast<size_t>(computed) * BLOCK, 0.0);
    double* next = slots_.data();
    for (const int32_t id : allSteps_) {
        slot_[id] = next;
        in_[id] = next;
        next += BLOCK;
    }

    // Steps of constants alone: once for the program; the first failure among them is met by
    // every point (no step of constants comes after a malformed step).
    for (int id = 0; id < count; ++id) {
        if (steps_[id].kind != KIND_CONST) continue;
        int code = EVAL_OK;
        scalar_[id] = UniformValue(steps_[id], nullptr, code);
        if (code != EVAL_OK && steps_[id].place < programStopPlace_) {
            programStopPlace_ = steps_[id].place;
            programStopCode_ = code;
        }
    }
}

int BatchEvaluator::AddStep(const Step& step) {
    for (size_t id = 0; id < steps_.size(); ++id) {
        const Step& other = steps_[id];
        if (other.op == step.op && other.a == step.a && other.b == step.b &&
            other.coefficient == step.coefficient && SameBits(other.constant, step.constant))
            return static_cast<int>(id);
    }
    steps_.push_back(step);
    return static_cast<int>(steps_.size()) - 1;
}

// Runs the program on kinds instead of values: the same stack depths and the same malformed
// steps as EvaluateFormula meets, which do not depend on the point.
void BatchEvaluator::Settle(const CompiledFormula& program) {
    int32_t stack[STACK_SIZE];
    int depth = 0;
    int constIndex = 0;
    const int end = std::clamp(program.opCount, 0, FORMULA_MAX_OPCODES);
    steps_.reserve(2 * end);
    auto stop = [this](int place, int code) {
        programStopPlace_ = place;
        programStopCode_ = code;
    };
    for (int i = 0; i < end; ++i) {
        const int32_t op = program.code[i];
        Step step;
        step.op = op;
        step.place = i;
        if (op >= OP_ADD && op <= OP_POW) {
            if (depth < 2) return stop(i, EVAL_NO_OPERAND);
            step.b = stack[--depth];
            step.a = stack[depth - 1];
            step.kind = Join(steps_[step.a].kind, steps_[step.b].kind);
            if (op == OP_POW && !IsUniform(step.kind)) {
                Step log;
                log.op = LOG_ABS;
                log.place = i;
                log.a = step.a;
                log.kind = steps_[step.a].kind;
                step.log = AddStep(log);
            }
            stack[depth - 1] = AddStep(step);
            continue;
        }
        if (IsFunction(op)) {
            if (depth < 1) return stop(i, EVAL_NO_OPERAND);
            step.a = stack[depth - 1];
            step.kind = steps_[step.a].kind;
            stack[depth - 1] = AddStep(step);
            continue;
        }
        if (op == OP_PUSHCONST) {
            if (constIndex >= FORMULA_MAX_CONSTANTS) return stop(i, EVAL_NO_OPERAND);
            step.constant = program.constants[constIndex++];
            step.kind = KIND_CONST;
        } else if (op >= OP_A && op <= OP_F) {
            step.coefficient = op - OP_A;
            step.kind = KIND_COEF;
        } else if (op == OP_X) {
            step.kind = KIND_X;
        } else if (op == OP_Y || op == OP_Z) {
            // EvaluateAt gives Y and Z the value 0.0.
            step.op = OP_PUSHCONST;
            step.kind = KIND_CONST;
        } else {
            return stop(i, EVAL_NO_OPERAND);
        }
        if (depth == STACK_SIZE) return stop(i, EVAL_STACK);
        stack[depth++] = AddStep(step);
    }
    if (depth != 1) return stop(end, EVAL_STACK);
    final_ = stack[0];
    finalPlace_ = end;
}

double BatchEvaluator::UniformValue(const Step& step, const double* coef, int& code) const {
    switch (step.op) {
        case OP_PUSHCONST:
            return step.constant;
        case OP_ADD:
            return scalar_[step.a] + scalar_[step.b];
        case OP_SUB:
            return scalar_[step.a] - scalar_[step.b];
        case OP_MUL:
            return Multiply(scalar_[step.a], scalar_[step.b], code);
        case OP_DIV:
            return Divide(scalar_[step.a], scalar_[step.b], code);
        case OP_POW: {
            PowerCache logs;
            return Power(scalar_[step.a], scalar_[step.b], logs, code);
        }
        case LOG_ABS:
            return std::log(std::fabs(scalar_[step.a]));
        default:
            break;
    }
    if (step.op >= OP_A && step.op <= OP_F) return coef[step.coefficient];
    const double x = scalar_[step.a];
    double result = 0.0;
    code = ClampFunction(x, FunctionOf(step.op, x, result), result);
    return result;
}

void BatchEvaluator::RunUniform(const double* coef) {
    stopPlace_ = programStopPlace_;
    stopCode_ = programStopCode_;
    for (const int32_t id : coefSteps_) {
        const Step& step = steps_[id];
        if (step.place >= stopPlace_) return;
        int code = EVAL_OK;
        scalar_[id] = UniformValue(step, coef, code);
        if (code != EVAL_OK) {
            stopPlace_ = step.place;
            stopCode_ = code;
            return;
        }
    }
}

void BatchEvaluator::RunStep(const Step& step, double* out, int n) {
    if (step.op == LOG_ABS) {
        const double* a = in_[step.a];
        for (int p = 0; p < n; ++p) out[p] = std::log(std::fabs(a[p]));
        return;
    }
    if (step.b < 0) {
        FunctionDispatch(step.op, in_[step.a], out, n, step.place, failures_);
        return;
    }
    const bool sameA = IsUniform(steps_[step.a].kind);
    const bool sameB = IsUniform(steps_[step.b].kind);
    if (sameA) {
        const Same log{step.log >= 0 ? scalar_[step.log] : 0.0};
        BinaryAcross(step.op, Same{scalar_[step.a]}, Across{in_[step.b]}, log, out, n, step.place,
                     failures_);
    } else if (sameB) {
        const Across log{step.log >= 0 ? in_[step.log] : nullptr};
        BinaryAcross(step.op, Across{in_[step.a]}, Same{scalar_[step.b]}, log, out, n, step.place,
                     failures_);
    } else {
        const Across log{step.log >= 0 ? in_[step.log] : nullptr};
        BinaryAcross(step.op, Across{in_[step.a]}, Across{in_[step.b]}, log, out, n, step.place,
                     failures_);
    }
}

void BatchEvaluator::RunBlock(const std::vector<int32_t>& list, int n) {
    for (const int32_t id : list) {
        const Step& step = steps_[id];
        if (step.place >= stopPlace_) return;
        RunStep(step, slot_[id], n);
    }
}

void BatchEvaluator::Finish(int n, double* values, int* errors) {
    // Only a program with a result lets a point get past its failures.
    const bool same = final_ >= 0 && IsUniform(steps_[final_].kind);
    const double* across = final_ >= 0 && !same ? in_[final_] : nullptr;
    if (!failures_.any) {
        // The common case, without branches: the final clamp of every point.
        for (int p = 0; p < n; ++p) {
            const double value = same ? scalar_[final_] : across[p];
            const bool above = AboveClamp(value);
            values[p] = above ? 0.0 : ClampLow(value);
            errors[p] = above ? EVAL_OVERFLOW : EVAL_OK;
        }
        return;
    }
    for (int p = 0; p < n; ++p) {
        if (failures_.place[p] != NO_FAILURE) {
            values[p] = 0.0;
            errors[p] = failures_.code[p];
            continue;
        }
        const double value = same ? scalar_[final_] : across[p];
        if (AboveClamp(value)) {
            values[p] = 0.0;
            errors[p] = EVAL_OVERFLOW;
        } else {
            values[p] = ClampLow(value);
            errors[p] = EVAL_OK;
        }
    }
}

void BatchEvaluator::EvaluateBlocks(const double* x, int first, int count, int flag,
                                    const double* coef, double* values, int* errors, bool cached) {
    if (flag != 0) {
        for (int i = 0; i < count; ++i) {
            values[i] = 0.0;
            errors[i] = EVAL_DERIVATIVE;
        }
        return;
    }
    RunUniform(coef);
    for (int start = 0; start < count; start += BLOCK) {
        const int n = std::min(BLOCK, count - start);
        for (int p = 0; p < n; ++p) {
            failures_.place[p] = stopPlace_;
            failures_.code[p] = stopCode_;
        }
        failures_.any = stopPlace_ != NO_FAILURE;
        if (cached) {
            const int at = first + start;
            for (const int32_t id : xValues_)
                in_[id] = &cache_[static_cast<size_t>(cacheRow_[id]) * cachedCount_ + at];
            if (cachedFailures_)
                for (int p = 0; p < n; ++p)
                    failures_.Note(p, cachedPlace_[at + p], cachedCode_[at + p]);
            RunBlock(mixedSteps_, n);
        } else {
            if (xPush_ >= 0) in_[xPush_] = x + start;
            for (const int32_t id : xSteps_) in_[id] = slot_[id];
            RunBlock(allSteps_, n);
        }
        Finish(n, values + start, errors + start);
    }
}

void BatchEvaluator::Evaluate(const double* x, int count, int flag, const double* coef,
                              double* values, int* errors) {
    EvaluateBlocks(x, 0, count, flag, coef, values, errors, false);
}

void BatchEvaluator::CachePoints(const double* x, int count) {
    KURVO_ASSERT(count >= 0);
    cachedCount_ = count;
    cache_.assign(xValues_.size() * static_cast<size_t>(count), 0.0);
    cachedPlace_.assign(count, NO_FAILURE);
    cachedCode_.assign(count, EVAL_OK);
    cachedFailures_ = false;
    // Every step of X alone, whatever this or that call's coefficients stop first.
    stopPlace_ = NO_FAILURE;
    for (int start = 0; start < count; start += BLOCK) {
        const int n = std::min(BLOCK, count - start);
        for (int p = 0; p < n; ++p) {
            failures_.place[p] = NO_FAILURE;
            failures_.code[p] = EVAL_OK;
        }
        failures_.any = false;
        if (xPush_ >= 0) in_[xPush_] = x + start;
        for (const int32_t id : xSteps_) in_[id] = slot_[id];
        RunBlock(xSteps_, n);
        for (const int32_t id : xValues_)
            std::memcpy(&cache_[static_cast<size_t>(cacheRow_[id]) * count + start], in_[id],
                        n * sizeof(double));
        for (int p = 0; p < n; ++p) {
            cachedPlace_[start + p] = failures_.place[p];
            cachedCode_[start + p] = failures_.code[p];
        }
        cachedFailures_ = cachedFailures_ || failures_.any;
    }
}

void BatchEvaluator::EvaluateCached(int first, int count, int flag, const double* coef,
                                    double* values, int* errors) {
    KURVO_ASSERT(first >= 0 && count >= 0 && first + count <= cachedCount_);
    EvaluateBlocks(nullptr, first, count, flag, coef, values, errors, true);
}
