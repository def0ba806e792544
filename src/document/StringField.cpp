#include "document/StringField.h"

#include "document/LittleEndian.h"

namespace zb {

bool WriteString(ByteSink& sink, std::string_view text) {
    if (text.size() > size_t(INT32_MAX)) return false;
    uint8_t length[4];
    le::PutI32(length, int32_t(text.size()));
    return sink.Write(length, 4) && (text.empty() || sink.Write(text.data(), text.size()));
}

StringRead ReadString(ByteSource& source, std::string& text, int32_t* length) {
    uint8_t field[4];
    if (!source.Read(field, 4)) return StringRead::EndOfData;
    const int32_t n = le::GetI32(field);
    if (length) *length = n;
    if (n < 0) return StringRead::NegativeLength;
    if (uint64_t(n) > source.Remaining()) return StringRead::EndOfData;
    std::string read(size_t(n), ' ');
    if (n > 0 && !source.Read(read.data(), size_t(n))) return StringRead::EndOfData;
    text = std::move(read);
    return StringRead::Ok;
}

} // namespace zb
