#include "report/reportsource.h"

namespace velmora {

TDataType ReportSource::FieldType(const std::string& fieldName) const {
    for (const auto& field : Fields())
        if (field.FieldName == fieldName)
            return field.DataType;
    return dtString;
}

}  // namespace velmora
