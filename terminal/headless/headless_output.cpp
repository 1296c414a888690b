#include "headless_output.h"

#include "arrival_time.h"
#include "json_line.h"
#include "line_text.h"
#include "output_file.h"
#include "rotating_output.h"
#include "system_error_text.h"
#include "terminal_protocol.h"
#include "terminal_texts.h"

namespace {

class FileSink : public OutputSink {
public:
    explicit FileSink(const std::wstring& path) : file_(path) {}
    bool Open(DWORD* error) { return file_.Open(error); }
    bool Write(std::string_view text, const WriteProgress&, size_t* written, DWORD* error, std::string*) override
    {
        return file_.Append(text, written, error);
    }

private:
    AppendedFile file_;
};

class RotatingSink : public OutputSink {
public:
    RotatingSink(const std::wstring& path, uint64_t rotateBytes, unsigned keep) : file_(path, rotateBytes, keep) {}
    bool Open(std::string* error) { return file_.Open(error); }
    bool Write(std::string_view text, const WriteProgress& progress, size_t* written, DWORD* error,
               std::string* problem) override
    {
        *error = 0;  // the problem says what went wrong
        return file_.Write(text, progress, written, problem);
    }

private:
    RotatingOutput file_;
};

} // namespace

std::shared_ptr<OutputSink> OpenHeadlessOutput(const HeadlessOptions& options, const StandardStreams& streams)
{
    if (options.outputPath.empty()) {
        if (streams.output == NULL) {
            TellUser(streams, NoStandardOutput);
            return nullptr;
        }
        return std::make_shared<HandleSink>(streams.output, options.format == OutputFormat::Json ? CP_UTF8 : CP_ACP);
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
    auto file = std::make_shared<FileSink>(options.outputPath);
    DWORD error = 0;
    if (!file->Open(&error)) {
        TellUser(streams, CannotOpenOutputFile + SystemErrorText(error));
        return nullptr;
    }
    return file;
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
