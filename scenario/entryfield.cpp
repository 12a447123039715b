// Placeholder entry fields: enough to place and read values until the masked fields land.
#include "scenario/entryfield.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <stdexcept>

#include "scenario/entrysettings.h"

namespace velmora {

namespace {
[[noreturn]] void WrongKind() { throw std::logic_error("Invalid data type for this field"); }
}  // namespace

TEntryField::TEntryField(EntrySettings& settings, QWidget* parent)
    : QWidget(parent), settings_(settings) {}
QString TEntryField::ValueAsText() { WrongKind(); }
long double TEntryField::ValueAsExtended() { WrongKind(); }
double TEntryField::ValueAsDouble() { WrongKind(); }
std::int32_t TEntryField::ValueAsInteger() { WrongKind(); }
void TEntryField::SetValueText(const QString&) { WrongKind(); }
void TEntryField::SetValueExtended(long double) { WrongKind(); }
void TEntryField::SetValueInteger(std::int32_t) { WrongKind(); }

class TTextEntryField::Impl {
public:
    QLineEdit* edit;
};

TTextEntryField::TTextEntryField(EntrySettings& settings, QWidget* parent, int maxLength)
    : TEntryField(settings, parent), impl_(new Impl{new QLineEdit(this)}) {
    impl_->edit->setMaxLength(maxLength);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(impl_->edit);
    setFocusProxy(impl_->edit);
}
QString TTextEntryField::ValueAsText() { return impl_->edit->text(); }
void TTextEntryField::SetValueText(const QString& text) { impl_->edit->setText(text.left(100)); }

class TNumericEntryField::Impl {
public:
    Spec spec;
    QLineEdit* edit;
    int Decimals() const {
        const auto dot = spec.mask.indexOf('.');
        if (dot < 0) return 0;
        int n = 0;
        for (auto i = dot + 1; i < spec.mask.size() && spec.mask[i] == '#'; ++i) ++n;
        return n;
    }
    long double Read(bool* ok) const {
        QString t = edit->text();
        t.remove('$').remove(',').remove('%');
        t = t.trimmed();
        if (t.isEmpty()) {
            *ok = true;
            return 0;
        }
        return static_cast<long double>(t.toDouble(ok));
    }
};

TNumericEntryField::TNumericEntryField(const Spec& spec, EntrySettings& settings, QWidget* parent)
    : TEntryField(settings, parent), impl_(new Impl{spec, new QLineEdit(this)}) {
    impl_->edit->setAlignment(Qt::AlignRight);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(impl_->edit);
    setFocusProxy(impl_->edit);
    const long double start = (spec.low <= 0 && 0 <= spec.high) ? 0 : spec.low;
    if (spec.kind == Kind::Integer) {
        SetValueInteger(static_cast<std::int32_t>(start));
    } else {
        SetValueExtended(start);
    }
}
QString TNumericEntryField::ValueAsText() { return impl_->edit->text(); }
long double TNumericEntryField::ValueAsExtended() {
    bool ok = false;
    const long double v = impl_->Read(&ok);
    return ok && v >= impl_->spec.low && v <= impl_->spec.high ? v : 0;
}
double TNumericEntryField::ValueAsDouble() { return static_cast<double>(ValueAsExtended()); }
std::int32_t TNumericEntryField::ValueAsInteger() {
    if (impl_->spec.kind != Kind::Integer) WrongKind();
    return static_cast<std::int32_t>(ValueAsExtended());
}
void TNumericEntryField::SetValueExtended(long double value) {
    if (impl_->spec.kind != Kind::Real) WrongKind();
    impl_->edit->setText(QString::number(static_cast<double>(value), 'f', impl_->Decimals()));
}
void TNumericEntryField::SetValueInteger(std::int32_t value) {
    if (impl_->spec.kind != Kind::Integer) WrongKind();
    impl_->edit->setText(QString::number(static_cast<std::int16_t>(value)));
}

}  // namespace velmora
