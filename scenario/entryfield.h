#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>

namespace velmora {

class EntrySettings;

/// Base of the scenario's entry fields. A getter or setter of the wrong kind throws
/// std::logic_error("Invalid data type for this field").
class TEntryField : public QWidget {
    Q_OBJECT
public:
    virtual QString ValueAsText();
    virtual long double ValueAsExtended();
    virtual double ValueAsDouble();
    virtual std::int32_t ValueAsInteger();
    virtual void SetValueText(const QString& text);
    virtual void SetValueExtended(long double value);
    virtual void SetValueInteger(std::int32_t value);

protected:
    TEntryField(EntrySettings& settings, QWidget* parent);
    EntrySettings& settings_;
};

class TTextEntryField final : public TEntryField {
    Q_OBJECT
public:
    explicit TTextEntryField(EntrySettings& settings, QWidget* parent = nullptr,
                             int maxLength = 100);
    QString ValueAsText() override;
    void SetValueText(const QString& text) override;

private:
    class Impl;
    Impl* impl_;
};

class TNumericEntryField final : public TEntryField {
    Q_OBJECT
public:
    enum class Kind { Integer, Real };
    struct Spec {
        Kind kind;
        QString mask;
        long double low;
        long double high;
    };
    TNumericEntryField(const Spec& spec, EntrySettings& settings, QWidget* parent = nullptr);
    QString ValueAsText() override;  // the shown text
    long double ValueAsExtended() override;
    double ValueAsDouble() override;
    std::int32_t ValueAsInteger() override;
    void SetValueExtended(long double value) override;
    void SetValueInteger(std::int32_t value) override;

private:
    class Impl;
    Impl* impl_;
};

}  // namespace velmora
