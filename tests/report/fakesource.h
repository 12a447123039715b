#pragma once

#include <string>
#include <vector>

#include "report/reportsource.h"

namespace velmora::testing {

/// A source of `records` records (0 to records - 1; records is the end position) that
/// writes every call into a log. Reads of grdYear and BreakEven are logged with the
/// cursor ("grdYear@3"); other field reads are answered but not logged.
class RecordingSource final : public ReportSource {
  public:
    explicit RecordingSource(std::int32_t records) : records_(records) {
        fields_ = {
            {0, "ClientName", "ClientName", dtString, 10, 10},
            {1, "grdYear", "grdYear", dtString, 10, 10},
            {2, "BreakEven", "BreakEven", dtString, 10, 10},
        };
    }

    const ReportSourceSettings& Settings() const override { return settings_; }
    const std::vector<ReportFieldDef>& Fields() const override { return fields_; }

    void OpenDataSet() override { Log("Open"), cursor = 0; }
    void CloseDataSet() override { Log("Close"), cursor = -1; }
    void GotoFirstRecord() override { Log("First"), cursor = 0; }
    void GotoLastRecord() override { Log("Last"), cursor = records_; }
    void TraverseBy(std::int32_t n) override { Log("Traverse " + std::to_string(n)), cursor += n; }
    bool CheckBOF() override { return Log("BOF"), cursor == -1; }
    bool CheckEOF() override { return Log("EOF"), cursor == records_; }
    std::int32_t GetBookmark() override {
        return Log("GetBookmark " + std::to_string(cursor)), cursor;
    }
    void GotoBookmark(std::int32_t b) override {
        Log("GotoBookmark " + std::to_string(b)), cursor = b;
    }
    FieldValue GetFieldValue(const std::string& name) override {
        if (name == "grdYear") {
            Log("grdYear@" + std::to_string(cursor));
            return cursor > 0 ? FieldValue("year " + std::to_string(cursor)) : FieldValue();
        }
        if (name == "BreakEven") {
            Log("BreakEven@" + std::to_string(cursor));
            return cursor > 0 ? FieldValue("the message") : FieldValue();
        }
        if (name == "ClientName")
            return FieldValue("Pat");
        return {};
    }

    std::vector<std::string> TakeLog() { return std::exchange(log_, {}); }

    std::int32_t cursor = 0;

  private:
    void Log(std::string entry) { log_.push_back(std::move(entry)); }

    std::int32_t records_;
    ReportSourceSettings settings_{"recording", 0, 99999999};
    std::vector<ReportFieldDef> fields_;
    std::vector<std::string> log_;
};

}  // namespace velmora::testing
