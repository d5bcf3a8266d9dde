#include "area/StorageAreaLines.h"

#include "area/AreaModel.h"
#include "platform/Error.h"

namespace StorageAreaLines {

int requireColumn(const platform::DataTable& table, const QString& name)
{
    for (qsizetype index = 0; index < table.columns.size(); ++index) {
        if (table.columns[index].compare(name, Qt::CaseInsensitive) == 0)
            return int(index);
    }
    throw platform::Error(QStringLiteral("Field '%1' not found").arg(name));
}

QString cellText(const platform::Variant& value)
{
    if (value.isNull() || value.isEmpty())
        return QString();
    return value.toText();
}

QStringList displayTexts(const platform::DataTable& table, const QString& codeColumn,
                         const QString& nameColumn)
{
    const int code = requireColumn(table, codeColumn);
    const int name = requireColumn(table, nameColumn);
    QStringList lines;
    lines.reserve(table.rows.size());
    for (const QList<platform::Variant>& row : table.rows)
        lines.append(displayText(cellText(row[code]), cellText(row[name])));
    return lines;
}

QString displayText(const QString& code, const QString& name)
{
    QString line;
    line.reserve(code.size() + 1 + name.size());
    line.append(code).append(u' ').append(name);
    return line;
}

namespace {

QString packetCellText(const platform::PacketCell& cell)
{
    if (cell.isText)
        return cell.toText();
    return StorageAreaLines::cellText(cell.value);
}

// Converts well-formed UTF-8 (as a packet's text cells hold) to UTF-16 at out; answers
// the end of what it wrote.
char16_t* widenUtf8(QByteArrayView utf8, char16_t* out)
{
    const auto* at = reinterpret_cast<const uchar*>(utf8.data());
    const uchar* const end = at + utf8.size();
    while (at < end) {
        const uchar lead = *at;
        if (lead < 0x80) {
            *out++ = lead;
            ++at;
        } else if (lead < 0xe0) {
            *out++ = char16_t(((lead & 0x1f) << 6) | (at[1] & 0x3f));
            at += 2;
        } else if (lead < 0xf0) {
            *out++ = char16_t(((lead & 0x0f) << 12) | ((at[1] & 0x3f) << 6) | (at[2] & 0x3f));
            at += 3;
        } else {
            const char32_t point = ((lead & 0x07) << 18) | ((at[1] & 0x3f) << 12) |
                                   ((at[2] & 0x3f) << 6) | (at[3] & 0x3f);
            *out++ = char16_t(0xd800 + ((point - 0x10000) >> 10));
            *out++ = char16_t(0xdc00 + ((point - 0x10000) & 0x3ff));
            at += 4;
        }
    }
    return out;
}

// Collects the lines while the packet is read. A text code and name (the usual case) are
// converted straight into the line, so a line costs one allocation.
class DisplayTextReader : public platform::PacketRowReader {
public:
    DisplayTextReader(const QString& codeColumn, const QString& nameColumn,
                      const QString& tagColumn, QStringList* tags,
                      const std::function<bool(const QString&)>& keep)
        : m_names{codeColumn, nameColumn, tagColumn}, m_tags(tags), m_keep(keep)
    {
    }

    void columns(const QStringList& names) override
    {
        platform::DataTable header;
        header.columns = names;
        // A missing column is raised only after the whole packet has been checked, and only
        // when a row needed it, as a dataset load followed by a walk of its rows would do.
        try {
            m_code = requireColumn(header, m_names[0]);
            m_name = requireColumn(header, m_names[1]);
            if (m_tags)
                m_tag = requireColumn(header, m_names[2]);
        } catch (const platform::Error& error) {
            m_missing = error.message();
        }
    }

    void expectRows(qsizetype count) override
    {
        // Most lines are a short code and name: 24 units each is a fair first guess.
        m_lines.reserve(count, count * 24);
        if (m_tags)
            m_tags->reserve(count);
    }

    void row(const QList<platform::PacketCell>& cells) override
    {
        m_anyRow = true;
        if (!m_missing.isEmpty())
            return;
        if (m_tags) {
            QString tag = packetCellText(cells[m_tag]);
            if (m_keep && !m_keep(tag))
                return;
            m_tags->append(std::move(tag));
        }
        const platform::PacketCell& code = cells[m_code];
        const platform::PacketCell& name = cells[m_name];
        if (code.isText && name.isText) {
            // UTF-16 never needs more units than UTF-8 has bytes.
            char16_t* out = m_lines.beginLine(code.utf8.size() + 1 + name.utf8.size());
            out = widenUtf8(code.utf8, out);
            *out++ = u' ';
            out = widenUtf8(name.utf8, out);
            m_lines.endLine(out);
        } else {
            m_lines.append(displayText(packetCellText(code), packetCellText(name)));
        }
    }

    DisplayLines take()
    {
        if (!m_missing.isEmpty() && m_anyRow)
            throw platform::Error(m_missing);
        m_lines.squeeze();
        return std::move(m_lines);
    }

private:
    const QString m_names[3];
    QStringList* const m_tags;
    const std::function<bool(const QString&)>& m_keep;
    int m_code = 0;
    int m_name = 0;
    int m_tag = 0;
    QString m_missing;
    bool m_anyRow = false;
    DisplayLines m_lines;
};

} // namespace

DisplayLines packetLines(const platform::Variant& packet, const QString& codeColumn,
                         const QString& nameColumn, const QString& tagColumn, QStringList* tags,
                         const std::function<bool(const QString&)>& keep)
{
    if (!packet.isBytes())
        throw platform::Error(
            QStringLiteral("Invalid data packet: a variant of type (%1) holds no packet")
                .arg(platform::Variant::typeName(packet.type())));
    DisplayTextReader reader(codeColumn, nameColumn, tagColumn, tags, keep);
    platform::readPacket(packet.bytes(), reader);
    return reader.take();
}

QStringList packetDisplayTexts(const platform::Variant& packet, const QString& codeColumn,
                               const QString& nameColumn, const QString& tagColumn,
                               QStringList* tags, const std::function<bool(const QString&)>& keep)
{
    const DisplayLines lines = packetLines(packet, codeColumn, nameColumn, tagColumn, tags, keep);
    QStringList texts;
    texts.reserve(lines.size());
    for (qsizetype index = 0; index < lines.size(); ++index)
        texts.append(lines.at(index).toString());
    return texts;
}

} // namespace StorageAreaLines

namespace {

// Keeps the storage-area codes of the rows whose kind is the one asked for.
class MappedCodeReader : public platform::PacketRowReader {
public:
    MappedCodeReader(const QString& kindKey, TextSet& codes) : m_kind(kindKey), m_codes(codes) {}

    void columns(const QStringList& names) override
    {
        platform::DataTable header;
        header.columns = names;
        try {
            m_code = StorageAreaLines::requireColumn(header, QStringLiteral("f_ccqybm"));
            m_kindColumn = StorageAreaLines::requireColumn(header, QStringLiteral("f_qylx"));
        } catch (const platform::Error& error) {
            m_missing = error.message();
        }
    }

    void expectRows(qsizetype count) override { m_codes.reserve(count); }

    void row(const QList<platform::PacketCell>& cells) override
    {
        // A null code or kind equals no text, so it never marks a storage area as mapped.
        const platform::PacketCell& kind = cells[m_kindColumn];
        const platform::PacketCell& code = cells[m_code];
        if (!m_missing.isEmpty() || kind.isNull() || code.isNull())
            return;
        const bool kindMatches = kind.isText && kind.ascii
                                     ? QLatin1String(kind.utf8.data(), kind.utf8.size()) == m_kind
                                     : kind.toText() == m_kind;
        if (!kindMatches)
            return;
        if (code.isText && code.ascii) {
            m_ascii.resize(code.utf8.size());
            for (qsizetype at = 0; at < code.utf8.size(); ++at)
                m_ascii[at] = char16_t(uchar(code.utf8[at]));
            m_codes.insert(QStringView(m_ascii.data(), m_ascii.size()));
        } else {
            m_codes.insert(code.toText());
        }
    }

    void finish() const
    {
        if (!m_missing.isEmpty())
            throw platform::Error(m_missing);
    }

private:
    const QString& m_kind;
    TextSet& m_codes;
    int m_code = 0;
    int m_kindColumn = 0;
    QString m_missing;
    std::vector<char16_t> m_ascii; // an ASCII code widened, reused row after row
};

} // namespace

void MappedCodeSnapshot::loadPacket(const platform::Variant& packet, const QString& kindKey)
{
    if (!packet.isBytes())
        throw platform::Error(
            QStringLiteral("Invalid data packet: a variant of type (%1) holds no packet")
                .arg(platform::Variant::typeName(packet.type())));
    m_codes = TextSet();
    TextSet codes;
    MappedCodeReader reader(kindKey, codes);
    platform::readPacket(packet.bytes(), reader);
    reader.finish();
    m_codes = std::move(codes);
}

FreeStorageAreaTest::FreeStorageAreaTest(const StorageAreaListModel& shown,
                                         const MappedCodeSnapshot& snapshot)
    : m_snapshot(snapshot), m_shown(TextSet::Match::IgnoringCase)
{
    m_shown.reserve(shown.count());
    for (int row = 0; row < shown.count(); ++row)
        m_shown.insert(shown.line(row));
}

bool FreeStorageAreaTest::isFree(QStringView line) const
{
    const QStringView code = codeOf(line);
    return !m_snapshot.contains(code) && !m_taken.contains(code) && !m_shown.contains(line);
}

void FreeStorageAreaTest::take(QStringView line)
{
    m_shown.insert(line);
    m_taken.insert(codeOf(line));
}

QStringView FreeStorageAreaTest::codeOf(QStringView line)
{
    const qsizetype blank = line.indexOf(u' ');
    return blank < 0 ? QStringView() : line.left(blank);
}
