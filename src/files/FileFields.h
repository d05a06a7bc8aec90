#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "files/ProgressSink.h"
#include "model/ProjectClasses.h"
#include "text/text.h"

namespace uzuviv {

// Shows the progress window and guarantees exactly one Close for it, on every path.
class ProgressScope {
public:
    // The caption is item `captionItem` of ProgressTexts in the current language.
    ProgressScope(ProgressSink& sink, int captionItem);
    // The caption is item `captionItem` of `table`.
    ProgressScope(ProgressSink& sink, TextTable table, int captionItem);
    ~ProgressScope();
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

    // Progress done * 100 / total, passed on at every step.
    void Step(std::int64_t done, std::int64_t total)
    {
        // The percentage changes a hundred times at most: divide only then.
        if (total != total_ || done < from_ || done >= until_) {
            total_ = total;
            percent_ = done * 100 / total;
            from_ = (percent_ * total + 99) / 100;
            until_ = ((percent_ + 1) * total + 99) / 100;
        }
        sink_.SetProgress(static_cast<int>(percent_));
    }
    void Close();

private:
    ProgressSink& sink_;
    bool open_ = true;
    // Every done in [from_, until_) gives percent_ of total_.
    std::int64_t total_ = 0, percent_ = 0, from_ = 0, until_ = 0;
};

// A field as the Windows-1252 bytes of one line: a line break inside it would shift every
// later line, so CR and LF become blanks.
void AppendFieldBytes(std::string& line, std::string_view utf8);
std::string FieldBytes(std::string_view utf8);
// The same bytes written at `out`, which has room for utf8.size() bytes; returns the end.
char* PutFieldBytes(char* out, std::string_view utf8);

// Numbers read from Windows-1252 bytes; a refusal names the text in UTF-8.
Extended ReadDecimal(std::string_view bytes);
std::int32_t ReadInteger(std::string_view bytes);

// The model stores integers in the width of its fields: modulo 65536 or 256.
inline std::uint16_t Word(std::int32_t value) { return static_cast<std::uint16_t>(value); }
inline std::uint8_t Byte(std::int32_t value) { return static_cast<std::uint8_t>(value); }

// Room for `count` records, to be filled in order by a reader. A million points take 80 MB:
// the kernel is asked to back them with large pages, one fault per 2 MB instead of per 4 KB.
void ReserveRecords(std::vector<TGPSRecord>& records, std::size_t count);

// Moves `records` to the end of `destination`.
void AppendRecords(std::vector<TGPSRecord>& destination, std::vector<TGPSRecord>&& records);

} // namespace uzuviv
