#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "report/fieldvalue.h"

namespace velmora {

/// The declared type of a field, by which the report turns its value into text.
enum TDataType { dtString, dtInteger, dtExtended, dtCurrency };

struct ReportFieldDef {
    int Position = 0;
    std::string FieldName;
    std::string FieldAlias;
    TDataType DataType = dtString;
    int FieldLength = 10;
    int DisplayWidth = 10;
};

struct ReportSourceSettings {
    std::string UserName;
    std::int32_t InitialIndex = 0;
    /// Bounds the engine's own record index only; the end of the data is OnCheckEOF's.
    std::int32_t RecordCount = 0;
};

/// A callback data source: it holds no data and answers the engine's ten calls.
/// The engine alone decides when to call what; none of the calls may fail.
class ReportSource {
  public:
    virtual ~ReportSource() = default;

    virtual const ReportSourceSettings& Settings() const = 0;
    virtual const std::vector<ReportFieldDef>& Fields() const = 0;

    virtual void OpenDataSet() = 0;
    virtual void CloseDataSet() = 0;
    virtual void GotoFirstRecord() = 0;
    virtual void GotoLastRecord() = 0;
    virtual void TraverseBy(std::int32_t increment) = 0;
    virtual bool CheckBOF() = 0;
    virtual bool CheckEOF() = 0;
    virtual std::int32_t GetBookmark() = 0;
    virtual void GotoBookmark(std::int32_t bookmark) = 0;
    virtual FieldValue GetFieldValue(const std::string& fieldName) = 0;

    /// The declared type of a field by exact name; dtString when there is none.
    TDataType FieldType(const std::string& fieldName) const;
};

}  // namespace velmora
