// \brief CSV output; see csv_report.h.
#include "app/csv_report.h"

#include <vector>

#include "app/json_text.h"

namespace gatool {

namespace {

constexpr const char* Header =
    "file,kind,scan,slit,mid_pos,step,position,height,offset,centre_of_mass,wavelength,loss,gs,"
    "gi\n";

// The fields of one row between the file and GS and GI; an empty one where the kind has none.
void PrintRow(const std::string& fileField,
              const std::vector<std::string>& fields,
              const std::string& gsGiFields,
              std::ostream& out) {
    out << fileField;
    for (const std::string& field : fields) {
        out << ',' << field;
    }
    out << ',' << gsGiFields << '\n';
}

void PrintCiRows(const std::string& fileField,
                 int slit,
                 const std::vector<CiPoint>& points,
                 const std::string& gsGiFields,
                 std::ostream& out) {
    for (const CiPoint& point : points) {
        PrintRow(fileField,
                 {"ci", "", std::to_string(slit), "", "", "", "", "", "",
                  JsonNumber(point.Wavelength), JsonNumber(point.Loss)},
                 gsGiFields, out);
    }
}

}  // namespace

void PrintCsvHeader(std::ostream& out) {
    out << Header;
}

void PrintCsvRows(const std::string& file,
                  const ToolState& state,
                  int scanCount,
                  std::ostream& out) {
    const std::string fileField = CsvField(file);
    const std::string gsGiFields =
        state.SlopeFit ? JsonNumber(state.SlopeFit->GS) + "," + JsonNumber(state.SlopeFit->GI)
                       : ",";
    const GaTest& test = *state.Test;
    for (std::size_t k = 0; k < static_cast<std::size_t>(scanCount); ++k) {
        const ScanRecord& record = test.Scans[k];
        for (std::size_t s = 0; s < SlitCount; ++s) {
            PrintRow(fileField,
                     {"peak", std::to_string(k), std::to_string(s), JsonNumber(record.MidPos),
                      JsonNumber(record.PeakIndex[s]), JsonNumber(record.PeakPos[s]),
                      JsonNumber(record.PeakCount[s]), JsonNumber(record.PeakOffset[s]),
                      JsonNumber(record.CentreOfMass[s]), "", ""},
                     gsGiFields, out);
        }
    }
    PrintCiRows(fileField, 1, state.Ci.Slit1, gsGiFields, out);
    PrintCiRows(fileField, 5, state.Ci.Slit5, gsGiFields, out);
}

std::string CsvField(std::string_view text) {
    const bool quoted = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                        (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quoted) {
        return std::string(text);
    }
    std::string field = "\"";
    for (const char c : text) {
        field += c == '"' ? "\"\"" : std::string(1, c);
    }
    return field + "\"";
}

}  // namespace gatool
