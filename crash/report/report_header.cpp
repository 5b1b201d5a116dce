// \brief The header fields in order.
#include "crash/report/report_header.h"

#include <unistd.h>

#include <filesystem>
#include <functional>

#include "crash/report/exception_message_text.h"
#include "crash/report/header_field_texts.h"
#include "crash/report/host_facts.h"
#include "crash/report/module_version.h"
#include "crash/report/process_facts.h"
#include "crash/report/report_placeholders.h"
#include "crash/report/report_quantities.h"
#include "crash/report/resource_facts.h"

namespace kestrix {
namespace {

std::string ExecutablePath() {
    return std::filesystem::read_symlink("/proc/self/exe").string();
}

class HeaderFiller {
  public:
    explicit HeaderFiller(IKXFields& header) : m_header(header) {}

    // A field whose value fails or is missing is left out.
    void Add(const std::string& name, const std::function<std::optional<std::string>()>& value) {
        try {
            if (const auto content = value())
                m_header.SetContent(name, *content);
        } catch (...) {
        }
    }

    void AddNamed(
        const std::function<std::optional<std::pair<std::string, std::string>>()>& field) {
        try {
            if (const auto named = field())
                m_header.SetContent(named->first, named->second);
        } catch (...) {
        }
    }

  private:
    IKXFields& m_header;
};

void AddSystemFields(HeaderFiller& filler, const THeaderValues& values) {
    filler.Add("date/time", [&] { return DateTimeText(LocalReportTime(values.Time)); });
    filler.Add("computer name", ComputerName);
    filler.Add("wts client name", RemoteClientName);
    filler.Add("user name", UserNameField);
    filler.Add("operating system", OperatingSystemField);
    filler.Add("system language", [] { return SystemLanguage(); });
    filler.Add("system up time", []() -> std::optional<std::string> {
        const auto seconds = SystemUpTimeSeconds();
        return seconds ? std::optional{DurationText(*seconds)} : std::nullopt;
    });
    filler.Add("program up time",
               [&] { return ProgramUpTimeText(values.ProgramUpTimeMilliseconds); });
    filler.AddNamed([]() -> std::optional<std::pair<std::string, std::string>> {
        const auto processors = Processors();
        if (!processors)
            return std::nullopt;
        return ProcessorsField(processors->Count, processors->Name);
    });
    filler.Add("physical memory", []() -> std::optional<std::string> {
        const auto memory = PhysicalMemory();
        if (!memory)
            return std::nullopt;
        return PhysicalMemoryText(memory->FreeBytes, memory->TotalBytes);
    });
    filler.Add("free disk space", [&]() -> std::optional<std::string> {
        const auto system = DiskSpaceOf("/");
        if (!system)
            return std::nullopt;
        return FreeDiskSpaceText(*system, DiskSpaceOf(ExecutablePath()), values.DecimalSeparator);
    });
    filler.Add("display mode", [&] { return values.DisplayMode; });
}

void AddProgramFields(HeaderFiller& filler, const THeaderValues& values) {
    filler.Add("process id", [] { return ProcessIdText(static_cast<std::uint32_t>(getpid())); });
    filler.Add("allocated memory", [&]() -> std::optional<std::string> {
        const auto bytes = AllocatedMemory();
        return bytes ? std::optional{SizeText(*bytes, values.DecimalSeparator)} : std::nullopt;
    });
    if (values.AddCommandLine)
        filler.Add("command line", CommandLine);
    filler.Add("executable", [] { return std::filesystem::path(ExecutablePath()).filename(); });
    if (values.CurrentModulePath) {
        filler.Add("current module",
                   [&] { return std::filesystem::path(*values.CurrentModulePath).filename(); });
        filler.Add("module date/time", [&] { return ModuleDateTime(*values.CurrentModulePath); });
    } else {
        filler.Add("exec. date/time", [] { return ModuleDateTime(ExecutablePath()); });
    }
    filler.Add("version", [&]() -> std::optional<std::string> {
        const std::string version =
            !values.Version.empty() ? values.Version : ExecutableFileVersion();
        return version.empty() ? std::nullopt : std::optional{version};
    });
    filler.Add("Kestrix version", [] { return std::string(KestrixVersion); });
    for (const auto& [name, text] : values.PluginFields)
        filler.Add(name, [&] { return text; });
}

void AddFailureFields(HeaderFiller& filler, const THeaderValues& values) {
    filler.Add(CallstackCrcField, [] { return std::string(WillBeCalculatedSoon); });
    filler.Add("exception number", [&] { return std::to_string(values.ExceptionNumber); });
    if (values.Frozen) {
        filler.Add("exception message", [&] { return values.FrozenMessage; });
        return;
    }
    const std::string className = values.ExceptionClass.empty() ? "Unknown" : values.ExceptionClass;
    filler.Add("exception class", [&] { return className; });
    filler.Add("exception message", [&] {
        return ExceptionMessageField(CleanExceptionMessage(values.ExceptionMessage), className);
    });
}

}  // namespace

void FillReportHeader(IKXFields& header, const THeaderValues& values) {
    HeaderFiller filler(header);
    AddSystemFields(filler, values);
    AddProgramFields(filler, values);
    AddFailureFields(filler, values);
    header.SetAddPosition(header.Find(CallstackCrcField));
}

}  // namespace kestrix
