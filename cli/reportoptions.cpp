#include "cli/reportoptions.h"

namespace velmora::cli {

namespace {

constexpr std::size_t kMaxTextLength = 100;

std::size_t CharacterCount(const std::string& utf8) {
    std::size_t n = 0;
    for (unsigned char c : utf8)
        n += (c & 0xC0) != 0x80;
    return n;
}

OptionSpec TextOption(const std::string& name, const std::string& help,
                      std::string ReportRequest::*member) {
    return OptionSpec{name, "TEXT", help,
                      [member](CliOptions& options, const std::string& value) -> std::string {
                          const auto first = value.find_first_not_of(' ');
                          const std::string text =
                              first == std::string::npos
                                  ? std::string()
                                  : value.substr(first, value.find_last_not_of(' ') - first + 1);
                          if (CharacterCount(text) > kMaxTextLength)
                              return "the text is longer than 100 characters";
                          options.report.*member = text;
                          return {};
                      }};
}

}  // namespace

void AddReportOptions(OptionTable& table) {
    table.Add(OptionSpec{"--pdf", "FILE",
                         "write the printed report to FILE as PDF instead of the table; the "
                         "file appears only when complete",
                         [](CliOptions& options, const std::string& value) -> std::string {
                             if (value.empty())
                                 return "the file name is empty";
                             options.report.pdfPath = value;
                             return {};
                         }});
    table.Add(
        TextOption("--client", "the client's name on the report", &ReportRequest::clientName));
    table.Add(
        TextOption("--description", "the description on the report", &ReportRequest::description));
    table.Add(
        TextOption("--preparer", "the preparer's name on the report", &ReportRequest::preparer));
}

TScenarioRec ReportScenario(const CliOptions& options) {
    const CalculationValues& v = options.values;
    TScenarioRec rec;
    rec.ClientName = options.report.clientName;
    rec.Description = options.report.description;
    rec.Preparer = options.report.preparer;
    rec.Cola = v.cola.value_or(0);
    rec.Years = v.years.value_or(0);
    rec.Rate = v.rate.value_or(0);
    rec.EarlyMonth = v.earlyMonth.value_or(0);
    rec.EarlyYear = v.earlyYear.value_or(0);
    rec.LaterMonth = v.laterMonth.value_or(0);
    rec.LaterYear = v.laterYear.value_or(0);
    rec.Age = v.age.value_or(0);
    rec.EarlyBenefit = v.earlyBenefit.value_or(0);
    rec.LaterBenefit = v.laterBenefit.value_or(0);
    return rec;
}

}  // namespace velmora::cli
