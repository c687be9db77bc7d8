#pragma once

#include <QString>
#include <optional>
#include <utility>

// The one shape of work that can fail: a value, or the problem text that the
// user is shown (already composed from the message table, naming the file,
// row or key). Functions return it instead of writing an out-parameter:
//
//     Result<Bank_Images> images = Compile_Project(ws);
//     if (!images)
//         return Fail(images.Problem());
//     Use(images.Value());
//
// `Result<>` (no value) is the outcome of work done for its effect, such as a
// file written.

// A failure, to be turned into any Result: `return Fail(text);`.
struct Failure
{
    QString Problem;
};

inline Failure Fail(QString problem)
{
    return Failure{std::move(problem)};
}

template <class T = void> class [[nodiscard]] Result
{
public:
    Result(T value)
        : value_(std::move(value))
    {}
    Result(Failure failure)
        : problem_(std::move(failure.Problem))
    {}

    bool Ok() const { return value_.has_value(); }
    explicit operator bool() const { return Ok(); }

    // The value; only when Ok().
    const T &Value() const & { return *value_; }
    T &Value() & { return *value_; }
    T &&Value() && { return std::move(*value_); }
    const T *operator->() const { return &*value_; }
    T *operator->() { return &*value_; }

    // The problem text; empty when Ok().
    const QString &Problem() const { return problem_; }

private:
    std::optional<T> value_;
    QString problem_;
};

template <> class [[nodiscard]] Result<void>
{
public:
    Result() = default;
    Result(Failure failure)
        : ok_(false)
        , problem_(std::move(failure.Problem))
    {}

    bool Ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const QString &Problem() const { return problem_; }

private:
    bool ok_ = true;
    QString problem_;
};
