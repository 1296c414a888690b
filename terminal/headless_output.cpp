#include "headless_output.h"

#include "arrival_time.h"
#include "json_line.h"
#include "line_text.h"
#include "rotating_output.h"
#include "system_error_text.h"
#include "terminal_protocol.h"
#include "terminal_texts.h"

namespace {

class RotatingSink : public OutputSink {
public:
    RotatingSink(const std::wstring& path, uint64_t rotateBytes, unsigned keep) : file_(path, rotateBytes, keep) {}
    bool Open(std::string* error) { return file_.Open(error); }
    bool Write(std::string_view text, size_t* written, DWORD* error, std::string* problem) override
    {
        // The rotating file does not say how much of a failed write went through: none of it
        // counts as written.
        bool allWritten = file_.Write(text, problem);
        *written = allWritten ? text.size() : 0;
        *error = 0;
        return allWritten;
    }

private:
    RotatingOutput file_;
};

HANDLE OpenOutputFile(const std::wstring& path)
{
    // Others may read (and even delete) the file while lines are still arriving.
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
}

} // namespace

std::shared_ptr<OutputSink> OpenHeadlessOutput(const TerminalOptions& options, const StandardStreams& streams)
{
    if (options.outputPath.empty()) {
        if (streams.output == NULL) {
            TellUser(streams, NoStandardOutput);
            return nullptr;
        }
        return std::make_shared<HandleSink>(streams.output, false);
    }
    if (options.rotateBytes != 0) {
        auto rotating = std::make_shared<RotatingSink>(options.outputPath, options.rotateBytes, options.keptFiles);
        std::string error;
        if (!rotating->Open(&error)) {
            TellUser(streams, error);
            return nullptr;
        }
        return rotating;
    }
    HANDLE file = OpenOutputFile(options.outputPath);
    if (file == INVALID_HANDLE_VALUE) {
        TellUser(streams, CannotOpenOutputFile + SystemErrorText(GetLastError()));
        return nullptr;
    }
    return std::make_shared<HandleSink>(file, true);
}

LineFormat LineFormatOf(OutputFormat format)
{
    LineFormat lineFormat;
    if (format == OutputFormat::Json) {
        lineFormat.line = [](const ReceivedLine& line) { return FormatJsonLine(line); };
        lineFormat.droppedNotice = [](uint64_t count) { return FormatJsonDroppedNotice(CurrentArrivalTime(), count); };
    } else {
        lineFormat.line = FormatOutputLine;
        lineFormat.droppedNotice = [](uint64_t count) { return FormatDroppedNotice(LocalMsOfDay(), count); };
    }
    return lineFormat;
}
