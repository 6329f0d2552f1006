#pragma once
// Result<T>: a value, or the message saying why there is none. Result<void> is the same
// for an operation that gives nothing back but may fail. The message is a short English
// text for the user, shown as it is; an empty message is allowed.
//
//   Result<Bytes> ReadIt();            return Fail("  cannot be read");  return bytes;
//   if (const auto read = ReadIt(); !read.ok()) Show(read.error());

#include <string>
#include <utility>
#include <variant>

namespace mirado {

// The failure of a Result: converts to any Result<T>.
struct Failure {
    std::string message;
};

inline Failure Fail(std::string message) {
    return Failure{std::move(message)};
}

template <typename T> class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure.message)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    // The value; only when ok().
    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }

    // The message; empty when ok().
    const std::string& error() const {
        static const std::string none;
        return ok() ? none : std::get<1>(state_);
    }

private:
    std::variant<T, std::string> state_;
};

template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : failed_(true), error_(std::move(failure.message)) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const std::string& error() const { return error_; }

private:
    bool failed_ = false;
    std::string error_;
};

// The success of a Result<void>.
inline Result<void> Ok() {
    return {};
}

} // namespace mirado
