#include "store/jet/JetFile.h"

#include <mdbtools.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <system_error>

#include "store/jet/JetChecks.h"

namespace wb::jet {
namespace {

constexpr int kJet4PageSize = 4096;
constexpr int kRowOffsetMask = 0x1FFF;
constexpr int kRowDeleted = 0x4000;   // also marks the moved copy of an overflow row
constexpr int kRowOverflow = 0x8000;  // the row holds only a pointer to where it now lives
constexpr int kMemoHeader = 12;       // MDB_MEMO_OVERHEAD

std::string Quoted(const std::filesystem::path& path) {
    return "\"" + path.string() + "\"";
}

JetType TypeOf(int mdbType) {
    switch (mdbType) {
        case MDB_BOOL:
            return JetType::Boolean;
        case MDB_BYTE:
            return JetType::Byte;
        case MDB_INT:
            return JetType::Integer;
        case MDB_LONGINT:
            return JetType::Long;
        case MDB_FLOAT:
            return JetType::Single;
        case MDB_DOUBLE:
            return JetType::Double;
        case MDB_DATETIME:
            return JetType::DateTime;
        case MDB_TEXT:
            return JetType::Text;
        case MDB_MEMO:
            return JetType::Memo;
        default:
            return JetType::Other;
    }
}

std::uint32_t Uint32At(const unsigned char* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

// Row `row` of the page now in mdb->pg_buf: offset (with its flag bits) and length.
bool FindRow(MdbHandle* mdb, int row, int& start, size_t& len) {
    const int rows = mdb_get_int16(mdb->pg_buf, mdb->fmt->row_count_offset);
    if (row < 0 || row >= rows) return false;
    return mdb_find_row(mdb, row, &start, &len) == 0;
}

// The bytes of row `pgRow` (page << 8 | row) of a long-value page, read through the second
// page buffer so the data page being read stays in place.
bool LongValueRow(MdbHandle* mdb, std::uint32_t pgRow, std::string& bytes) {
    // Page 0 is the file header; a link to it, or past the end, is damage.
    if ((pgRow >> 8) == 0 || mdb_read_alt_pg(mdb, pgRow >> 8) != mdb->fmt->pg_size) return false;
    mdb_swap_pgbuf(mdb);
    int start = 0;
    size_t len = 0;
    const bool found = FindRow(mdb, static_cast<int>(pgRow & 0xFF), start, len);
    if (found) bytes.assign(reinterpret_cast<const char*>(mdb->pg_buf) + (start & kRowOffsetMask), len);
    mdb_swap_pgbuf(mdb);
    return found;
}

// A memo's stored bytes: kept in the row, in one long-value row, or in a chain of them. The
// stored length must be met exactly: a row offset moved by damage changes a part's length.
bool MemoBytes(MdbHandle* mdb, const unsigned char* field, size_t size, std::string& out) {
    if (size < static_cast<size_t>(kMemoHeader)) return false;
    const std::uint32_t header = Uint32At(field);
    const size_t length = header & 0x3FFFFFFF;
    if (header & 0x80000000u) {
        out.assign(reinterpret_cast<const char*>(field) + kMemoHeader, size - kMemoHeader);
        return out.size() == length;
    }
    std::uint32_t pgRow = Uint32At(field + 4);
    if (header & 0x40000000u) return LongValueRow(mdb, pgRow, out) && out.size() == length;
    out.clear();
    // Each link starts with the address of the next; a chain that comes back on itself is damage.
    std::set<std::uint32_t> seen;
    std::string part;
    while (pgRow != 0) {
        if (!seen.insert(pgRow).second || !LongValueRow(mdb, pgRow, part) || part.size() < 4) return false;
        pgRow = Uint32At(reinterpret_cast<const unsigned char*>(part.data()));
        out.append(part, 4);
        if (out.size() > length) return false;
    }
    return out.size() == length;
}

// The fixed size of a column type the program reads; 0 for the others.
int FixedSize(int mdbType) {
    switch (mdbType) {
        case MDB_BYTE:
            return 1;
        case MDB_INT:
            return 2;
        case MDB_LONGINT:
        case MDB_FLOAT:
            return 4;
        case MDB_DOUBLE:
        case MDB_DATETIME:
            return 8;
        default:
            return 0;
    }
}

// Column descriptors that disagree with their type or with the table: the definition is
// damaged, and reading rows by it would give wrong values without a word.
bool ColumnsAgree(const MdbTableDef* def, int maxColumns) {
    std::set<int> columns, rowColumns;
    std::set<unsigned> varColumns;
    for (unsigned c = 0; c < def->num_cols; ++c) {
        const auto* col = static_cast<const MdbColumn*>(g_ptr_array_index(def->columns, c));
        if (col->col_num < 0 || col->col_num >= maxColumns || col->row_col_num < 0 ||
            col->row_col_num >= maxColumns || !columns.insert(col->col_num).second ||
            !rowColumns.insert(col->row_col_num).second)
            return false;
        const int fixed = FixedSize(col->col_type);
        if (fixed > 0 && (!col->is_fixed || col->col_size != fixed)) return false;
        const bool text = col->col_type == MDB_TEXT || col->col_type == MDB_MEMO;
        if (text && col->is_fixed) return false;
        if (col->is_fixed) {
            if (col->fixed_offset < 0 || col->fixed_offset + col->col_size > kJet4PageSize) return false;
        } else if (col->var_col_num >= def->num_var_cols || !varColumns.insert(col->var_col_num).second) {
            return false;
        }
    }
    return true;
}

struct MdbTableCloser {
    void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};
using TablePtr = std::unique_ptr<MdbTableDef, MdbTableCloser>;

class RowReader {
  public:
    RowReader(MdbHandle* mdb, MdbTableDef* def, JetTable& out)
        : mdb_(mdb), def_(def), out_(out), fields_(def->num_cols + 1) {}

    // Reads the row at `start` in mdb->pg_buf. False when its layout is damaged.
    bool ReadRow(int start, size_t len) {
        const int rowStart = start & kRowOffsetMask;
        const long rowEnd = rowStart + static_cast<long>(len);
        // The row ends in its null mask, its count of variable values and their offsets; a
        // row whose start was moved by damage no longer fits them.
        if (len < 4) return false;
        const int rowColumns = mdb_get_int16(mdb_->pg_buf, rowStart);
        if (rowColumns <= 0 || static_cast<unsigned>(rowColumns) > def_->num_cols) return false;
        const long mask = (rowColumns + 7) / 8;
        if (rowEnd - mask - 2 < rowStart + 2) return false;
        const int rowVarColumns = mdb_get_int16(mdb_->pg_buf, static_cast<int>(rowEnd - mask - 2));
        if (static_cast<unsigned>(rowVarColumns) > def_->num_var_cols) return false;
        const long dataEnd = rowEnd - mask - 2 - 2 * (rowVarColumns + 1);
        if (dataEnd < rowStart + 2) return false;
        const int count = mdb_crack_row(def_, rowStart, len, fields_.data());
        if (count < 0) return false;
        // A damaged offset table can point a value outside its row; refuse rather than read it.
        for (size_t c = 0; c < out_.columns.size(); ++c) {
            const MdbField& f = fields_[c];
            if (!f.is_null &&
                (f.siz < 0 || f.start < rowStart || f.start + static_cast<long>(f.siz) > dataEnd))
                return false;
        }
        std::vector<JetValue> row;
        row.reserve(out_.columns.size());
        brokenChain_ = false;
        for (size_t c = 0; c < out_.columns.size(); ++c)
            row.push_back(Value(c));
        if (brokenChain_) return false;
        out_.rows.push_back(std::move(row));
        return true;
    }

  private:
    JetValue Value(size_t c) {
        const MdbField& f = fields_[c];
        const JetColumn& column = out_.columns[c];
        // A Yes/No value lives in the row's null mask: a set bit is Yes, and it is never Null.
        if (column.type == JetType::Boolean) return f.is_null == 0;
        if (f.is_null) return {};
        const auto* p = mdb_->pg_buf + f.start;
        const auto size = static_cast<size_t>(f.siz);
        auto fixed = [&](size_t need) {
            if (size == need) return true;
            Problem(c, "stored with " + std::to_string(size) + " bytes instead of " + std::to_string(need));
            return false;
        };
        switch (column.type) {
            case JetType::Byte:
                if (fixed(1)) return std::int32_t{p[0]};
                break;
            case JetType::Integer:
                if (fixed(2))
                    return std::int32_t{static_cast<std::int16_t>(mdb_get_int16(mdb_->pg_buf, f.start))};
                break;
            case JetType::Long:
                if (fixed(4)) return static_cast<std::int32_t>(Uint32At(p));
                break;
            case JetType::Single:
                if (fixed(4)) return mdb_get_single(mdb_->pg_buf, f.start);
                break;
            case JetType::Double:
                if (fixed(8)) return mdb_get_double(mdb_->pg_buf, f.start);
                break;
            case JetType::DateTime:
                if (fixed(8)) {
                    const double serial = mdb_get_double(mdb_->pg_buf, f.start);
                    if (auto date = DateFromSerial(serial)) return *date;
                    Problem(c, "day serial " + std::to_string(serial) + " is not a calendar date");
                }
                break;
            case JetType::Text:
                return TextFromJet4({reinterpret_cast<const char*>(p), size});
            case JetType::Memo: {
                if (size == 0) return std::string();
                std::string bytes;
                if (MemoBytes(mdb_, p, size, bytes)) return TextFromJet4(bytes);
                // Its pages are missing or damaged: the file itself is, so the table is refused.
                brokenChain_ = true;
                break;
            }
            case JetType::Boolean:
            case JetType::Other:
                break;
        }
        return {};
    }

    void Problem(size_t c, const std::string& what) {
        out_.problems.push_back({static_cast<int>(out_.rows.size()) + 1, out_.columns[c].name, what});
    }

    MdbHandle* mdb_;
    MdbTableDef* def_;
    JetTable& out_;
    std::vector<MdbField> fields_;
    bool brokenChain_ = false;
};

}  // namespace

struct JetFile::Impl {
    struct Closer {
        void operator()(MdbHandle* h) const { mdb_close(h); }
    };
    std::unique_ptr<MdbHandle, Closer> mdb;
    std::filesystem::path path;
    std::string bytes;  // the whole file, for the checks made before the library reads

    MdbCatalogEntry* Entry(std::string_view name) const {
        for (unsigned i = 0; i < mdb->num_catalog; ++i) {
            auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
            if (entry->object_type == MDB_TABLE && mdb_is_user_table(entry) &&
                SameName(entry->object_name, name))
                return entry;
        }
        return nullptr;
    }
};

JetFormat FormatOfFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    char header[32] = {};
    in.read(header, sizeof header);
    return FormatOfHeader({header, static_cast<size_t>(in.gcount())});
}

std::optional<JetFile> JetFile::Open(const std::filesystem::path& path, std::string& error) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        error = Quoted(path) + " does not exist or is not a file.";
        return std::nullopt;
    }
    const auto size = std::filesystem::file_size(path, ec);
    switch (FormatOfFile(path)) {
        case JetFormat::Jet4:
            break;
        case JetFormat::Jet3:
            error =
                Quoted(path) + " is an Access 97 (Jet 3) database; only Access 2000 (Jet 4) files are read.";
            return std::nullopt;
        case JetFormat::Ace:
            error = Quoted(path) +
                    " is an Access 2007 or later database; only Access 2000 (Jet 4) files are read.";
            return std::nullopt;
        case JetFormat::NotJet:
            error = Quoted(path) + " is not an Access (Jet) database file.";
            return std::nullopt;
    }
    // The engine writes whole pages; anything else was cut short in copying.
    if (ec || size % kJet4PageSize != 0) {
        error = Quoted(path) + " is damaged or incomplete: its size (" + std::to_string(size) +
                " bytes) is not a whole number of database pages.";
        return std::nullopt;
    }
    if (size < 3 * kJet4PageSize) {
        error = Quoted(path) + " is damaged or incomplete: at " + std::to_string(size) +
                " bytes it is too short to hold its table list.";
        return std::nullopt;
    }
    auto impl = std::make_unique<Impl>();
    impl->path = path;
    {
        std::ifstream in(path, std::ios::binary);
        impl->bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (impl->bytes.size() != size) {
        error = Quoted(path) + " could not be read to its end.";
        return std::nullopt;
    }
    if (const auto damage = DamagedRowOffsets(impl->bytes)) {
        error = Quoted(path) + " is damaged: " + *damage + ".";
        return std::nullopt;
    }
    impl->mdb.reset(mdb_open(path.c_str(), MDB_NOFLAGS));
    if (!impl->mdb || !mdb_read_catalog(impl->mdb.get(), MDB_ANY)) {
        error = Quoted(path) + " could not be opened as a database: its table list is unreadable.";
        return std::nullopt;
    }
    return JetFile(std::move(impl));
}

JetFile::JetFile(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
JetFile::JetFile(JetFile&&) noexcept = default;
JetFile& JetFile::operator=(JetFile&&) noexcept = default;
JetFile::~JetFile() = default;

std::vector<std::string> JetFile::Tables() const {
    std::vector<std::string> names;
    MdbHandle* mdb = impl_->mdb.get();
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type == MDB_TABLE && mdb_is_user_table(entry))
            names.emplace_back(entry->object_name);
    }
    return names;
}

std::optional<JetTable> JetFile::Read(std::string_view name, std::string& error) const {
    MdbHandle* mdb = impl_->mdb.get();
    const std::string where = "Table " + std::string(name) + " of " + Quoted(impl_->path);
    MdbCatalogEntry* entry = impl_->Entry(name);
    if (!entry) {
        error = Quoted(impl_->path) + " has no table " + std::string(name) + ".";
        return std::nullopt;
    }
    if (const auto damage =
            DamagedTableDefinition(impl_->bytes, static_cast<std::uint32_t>(entry->table_pg))) {
        error = where + " is damaged: " + *damage + ".";
        return std::nullopt;
    }
    TablePtr def(mdb_read_table(entry));
    if (!def || !mdb_read_columns(def.get()) || def->num_cols == 0) {
        error = where + " has an unreadable definition.";
        return std::nullopt;
    }
    const size_t maxColumnsAt = entry->table_pg * kJet4PageSize + 41;  // the most columns the table had
    const int maxColumns = static_cast<unsigned char>(impl_->bytes[maxColumnsAt]) |
                           static_cast<unsigned char>(impl_->bytes[maxColumnsAt + 1]) << 8;
    if (!ColumnsAgree(def.get(), maxColumns)) {
        error = where + " is damaged: its column definitions disagree with their types.";
        return std::nullopt;
    }

    JetTable table;
    table.name = entry->object_name;
    for (unsigned c = 0; c < def->num_cols; ++c) {
        const auto* col = static_cast<const MdbColumn*>(g_ptr_array_index(def->columns, c));
        JetColumn column{col->name, TypeOf(col->col_type), 0, {}};
        if (column.type == JetType::Text) column.textLength = col->col_size / 2;  // stored as UTF-16
        if (column.type == JetType::Other) {
            column.typeDetail = "type code " + std::to_string(col->col_type);
            table.problems.push_back(
                {0, column.name, "stored with a " + column.typeDetail + " that is not read"});
        }
        table.columns.push_back(std::move(column));
    }

    RowReader reader(mdb, def.get(), table);
    int damaged = 0;
    mdb_rewind_table(def.get());
    while (mdb_read_next_dpg(def.get())) {
        const int rows = mdb_get_int16(mdb->pg_buf, mdb->fmt->row_count_offset);
        for (int r = 0; r < rows; ++r) {
            int start = 0;
            size_t len = 0;
            if (!FindRow(mdb, r, start, len)) {
                ++damaged;
                continue;
            }
            if ((start & kRowDeleted) || len == 0) continue;
            if (!(start & kRowOverflow)) {
                if (!reader.ReadRow(start, len)) ++damaged;
                continue;
            }
            // An edited row that no longer fitted: follow the pointer, then come back.
            const std::uint32_t pgRow = len >= 4 ? Uint32At(mdb->pg_buf + (start & kRowOffsetMask)) : 0;
            int target = 0;
            size_t targetLen = 0;
            const bool ok = (pgRow >> 8) != 0 && mdb_read_pg(mdb, pgRow >> 8) == mdb->fmt->pg_size &&
                            FindRow(mdb, static_cast<int>(pgRow & 0xFF), target, targetLen) &&
                            reader.ReadRow(target, targetLen);
            if (!ok) ++damaged;
            if (mdb_read_pg(mdb, def->cur_phys_pg) != mdb->fmt->pg_size) {
                error = where + " could not be read to its end.";
                return std::nullopt;
            }
        }
    }
    if (damaged > 0 || table.rows.size() != def->num_rows) {
        error = where + " is damaged or incomplete: " + std::to_string(table.rows.size()) + " of its " +
                std::to_string(def->num_rows) + " rows could be read.";
        return std::nullopt;
    }
    return table;
}

}  // namespace wb::jet
