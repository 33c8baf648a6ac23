// A value, or the message that tells why there is none: what a function that
// can fail returns instead of a bool and a QString* to fill.
#pragma once

#include <QString>

#include <optional>
#include <utility>

namespace qiantai {

// The failed outcome of any Result: `return Failure{message};`.
struct Failure {
    QString message;
};

template <class T = void> class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Failure failure) : error_(std::move(failure.message)) {}

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    // Only when ok().
    const T& value() const& { return *value_; }
    T& value() & { return *value_; }
    T&& value() && { return std::move(*value_); }
    // Empty when ok().
    const QString& error() const { return error_; }

private:
    std::optional<T> value_;
    QString error_;
};

// Success without a value, or the message.
template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : failed_(true), error_(std::move(failure.message)) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const QString& error() const { return error_; }

private:
    bool failed_ = false;
    QString error_;
};

} // namespace qiantai
