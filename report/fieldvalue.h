#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace velmora {

/// What a report data source hands back for a field: nothing, a text, a double or a
/// 32-bit integer. A null value prints as nothing.
class FieldValue {
  public:
    FieldValue() = default;
    FieldValue(std::string text) : value_(std::move(text)) {}
    FieldValue(const char* text) : value_(std::string(text)) {}
    FieldValue(double number) : value_(number) {}
    FieldValue(std::int32_t number) : value_(number) {}

    bool IsNull() const { return std::holds_alternative<std::monostate>(value_); }
    bool IsText() const { return std::holds_alternative<std::string>(value_); }
    bool IsDouble() const { return std::holds_alternative<double>(value_); }
    bool IsInteger() const { return std::holds_alternative<std::int32_t>(value_); }

    const std::string& Text() const { return std::get<std::string>(value_); }
    double Double() const { return std::get<double>(value_); }
    std::int32_t Integer() const { return std::get<std::int32_t>(value_); }

    friend bool operator==(const FieldValue&, const FieldValue&) = default;

  private:
    std::variant<std::monostate, std::string, double, std::int32_t> value_;
};

}  // namespace velmora
