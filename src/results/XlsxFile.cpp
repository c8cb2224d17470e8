// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/XlsxFile.h"

#include "platform/AppError.h"
#include "platform/Files.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <xlsxwriter.h>

namespace {

constexpr double MsPerDay = 86400000.0;
// Day 0 of the spreadsheet's dates is 1899-12-30; 1970-01-01 is day 25569.
constexpr double UnixEpochDay = 25569.0;
constexpr char DurationFormat[] = "[mm]:ss.0";
constexpr char MomentFormat[] = "yyyy-mm-dd hh:mm:ss";
constexpr char IntegerFormat[] = "0";
constexpr double MinimumWidth = 8;
constexpr double MaximumWidth = 60;
constexpr double WidthMargin = 2;
constexpr int SheetNameLength = 31;

[[noreturn]] void fail(const QString& targetPath, lxw_error error)
{
    throw AppError(QString::fromLatin1(Msg::IoError), {QString::number(int(error))}).inFile(targetPath);
}

// The width a column's entry takes, in characters.
qsizetype shownLength(const ExportTable::Column& column, const QVariant& value)
{
    switch (column.type) {
    case ExportTable::Type::Text:
        return value.toString().size();
    case ExportTable::Type::Integer:
        return QString::number(value.toLongLong()).size();
    case ExportTable::Type::Duration:
        return qsizetype(sizeof(DurationFormat));
    case ExportTable::Type::Moment:
        break;
    }
    return qsizetype(sizeof(MomentFormat));
}

lxw_format* numberFormat(lxw_workbook* book, const char* format)
{
    lxw_format* f = workbook_add_format(book);
    format_set_num_format(f, format);
    return f;
}

} // namespace

struct XlsxFile::SheetWriter::Book
{
    QTemporaryDir folder;
    QString path;
    QString targetPath;
    QByteArray tmpdir;
    lxw_workbook* book = nullptr;
    lxw_worksheet* sheet = nullptr;
    lxw_format* integer = nullptr;
    lxw_format* duration = nullptr;
    lxw_format* moment = nullptr;
    QList<ExportTable::Column> columns;
    QList<qsizetype> widths;
    lxw_row_t rows = 0;

    ~Book()
    {
        if (book)
            workbook_close(book);
    }
};

namespace XlsxFile {

SheetWriter::SheetWriter(const QString& title, const QList<ExportTable::Column>& columns,
                         const QString& targetPath)
    : m_book(std::make_unique<Book>())
{
    Book& b = *m_book;
    if (!b.folder.isValid())
        throw AppError(QString::fromLatin1(Msg::FileAccessDenied)).inFile(b.folder.path());
    b.path = b.folder.filePath(QStringLiteral("export.xlsx"));
    b.targetPath = targetPath;
    b.columns = columns;
    // the rows go to a file of their own in the same temporary folder as they are written
    b.tmpdir = QFile::encodeName(b.folder.path());
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = b.tmpdir.data();
    b.book = workbook_new_opt(QFile::encodeName(b.path).constData(), &options);
    if (!b.book)
        fail(targetPath, LXW_ERROR_CREATING_XLSX_FILE);
    const QByteArray name = title.left(SheetNameLength).toUtf8();
    b.sheet = workbook_add_worksheet(b.book, name.isEmpty() ? nullptr : name.constData());
    if (!b.sheet)
        fail(targetPath, LXW_ERROR_PARAMETER_VALIDATION);
    lxw_format* bold = workbook_add_format(b.book);
    format_set_bold(bold);
    b.integer = numberFormat(b.book, IntegerFormat);
    b.duration = numberFormat(b.book, DurationFormat);
    b.moment = numberFormat(b.book, MomentFormat);
    for (lxw_col_t c = 0; c < lxw_col_t(columns.size()); ++c) {
        const QByteArray header = columns[c].spreadsheetName().toUtf8();
        worksheet_write_string(b.sheet, 0, c, header.constData(), bold);
        b.widths.append(header.size());
    }
}

SheetWriter::~SheetWriter() = default;

void SheetWriter::addRow(const QVariantList& values)
{
    Book& b = *m_book;
    const lxw_row_t row = ++b.rows;
    for (lxw_col_t c = 0; c < lxw_col_t(b.columns.size()); ++c) {
        const ExportTable::Column& column = b.columns[c];
        const QVariant value = values.value(c);
        b.widths[c] = std::max(b.widths[c], shownLength(column, value));
        lxw_error error = LXW_NO_ERROR;
        switch (column.type) {
        case ExportTable::Type::Text:
            // a string cell, whatever it starts with: no text runs as a formula
            error = worksheet_write_string(b.sheet, row, c, value.toString().toUtf8().constData(), nullptr);
            break;
        case ExportTable::Type::Integer:
            error = worksheet_write_number(b.sheet, row, c, double(value.toLongLong()), b.integer);
            break;
        case ExportTable::Type::Duration:
            error =
                worksheet_write_number(b.sheet, row, c, double(value.toLongLong()) / MsPerDay, b.duration);
            break;
        case ExportTable::Type::Moment:
            error = worksheet_write_number(b.sheet, row, c,
                                           UnixEpochDay + double(value.toLongLong()) / MsPerDay, b.moment);
            break;
        }
        if (error != LXW_NO_ERROR)
            fail(b.targetPath, error);
    }
}

QString SheetWriter::finish()
{
    Book& b = *m_book;
    const auto columnCount = lxw_col_t(b.columns.size());
    for (lxw_col_t c = 0; c < columnCount; ++c)
        worksheet_set_column(b.sheet, c, c,
                             std::clamp(double(b.widths[c]) + WidthMargin, MinimumWidth, MaximumWidth),
                             nullptr);
    worksheet_freeze_panes(b.sheet, 1, 0);
    if (columnCount > 0)
        worksheet_autofilter(b.sheet, 0, 0, b.rows, lxw_col_t(columnCount - 1));
    const lxw_error error = workbook_close(b.book);
    b.book = nullptr;
    if (error != LXW_NO_ERROR)
        fail(b.targetPath, error);
    return b.path;
}

QByteArray bytes(const ExportTable& table, const QString& targetPath)
{
    SheetWriter writer(table.title, table.columns, targetPath);
    for (const QVariantList& row : table.rows)
        writer.addRow(row);
    return Files::readAll(writer.finish());
}

} // namespace XlsxFile
