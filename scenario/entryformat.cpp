#include "scenario/entryformat.h"

#include "scenario/fieldtext.h"

namespace velmora {

namespace {
char32_t FirstCharacter(const std::string& utf8) {
    const FieldText text = FieldTextFromUtf8(utf8);
    return text.empty() ? U'\0' : text.front();
}
}  // namespace

EntryFormat EntryFormat::FromMoneyFormat(const TMoneyFormat& format) {
    EntryFormat f;
    f.decimalMark = FirstCharacter(format.DecimalMark);
    if (f.decimalMark == U'\0')
        f.decimalMark = U'.';
    f.groupMark = FirstCharacter(format.GroupMark);
    f.currencyMark = FirstCharacter(format.CurrencySymbol);
    if (f.groupMark == f.decimalMark) {
        f.decimalMark = U'.';
        f.groupMark = U',';
    }
    return f;
}

}  // namespace velmora
