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

class Workbook
{
public:
    explicit Workbook(const QString& path) : m_book(workbook_new(QFile::encodeName(path).constData())) {}
    ~Workbook()
    {
        if (m_book)
            workbook_close(m_book);
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    lxw_workbook* get() const { return m_book; }
    // Writes the file; the error of the library, LXW_NO_ERROR when it is written.
    lxw_error close()
    {
        const lxw_error error = workbook_close(m_book);
        m_book = nullptr;
        return error;
    }

private:
    lxw_workbook* m_book;
};

lxw_format* numberFormat(lxw_workbook* book, const char* format)
{
    lxw_format* f = workbook_add_format(book);
    format_set_num_format(f, format);
    return f;
}

} // namespace

namespace XlsxFile {

QByteArray bytes(const ExportTable& table, const QString& targetPath)
{
    QTemporaryDir folder;
    if (!folder.isValid())
        throw AppError(QString::fromLatin1(Msg::FileAccessDenied)).inFile(folder.path());
    const QString path = folder.filePath(QStringLiteral("export.xlsx"));
    Workbook book(path);
    if (!book.get())
        fail(targetPath, LXW_ERROR_CREATING_XLSX_FILE);
    const QByteArray title = table.title.left(SheetNameLength).toUtf8();
    lxw_worksheet* sheet = workbook_add_worksheet(book.get(), title.isEmpty() ? nullptr : title.constData());
    if (!sheet)
        fail(targetPath, LXW_ERROR_PARAMETER_VALIDATION);
    lxw_format* bold = workbook_add_format(book.get());
    format_set_bold(bold);
    lxw_format* integer = numberFormat(book.get(), IntegerFormat);
    lxw_format* duration = numberFormat(book.get(), DurationFormat);
    lxw_format* moment = numberFormat(book.get(), MomentFormat);

    const auto columnCount = lxw_col_t(table.columns.size());
    for (lxw_col_t c = 0; c < columnCount; ++c) {
        const ExportTable::Column& column = table.columns[c];
        const QByteArray header = column.spreadsheetName().toUtf8();
        worksheet_write_string(sheet, 0, c, header.constData(), bold);
        qsizetype width = header.size();
        for (qsizetype r = 0; r < table.rows.size(); ++r) {
            const auto row = lxw_row_t(r + 1);
            const QVariant value = table.rows[r].value(c);
            width = std::max(width, shownLength(column, value));
            lxw_error error = LXW_NO_ERROR;
            switch (column.type) {
            case ExportTable::Type::Text:
                // a string cell, whatever it starts with: no text runs as a formula
                error = worksheet_write_string(sheet, row, c, value.toString().toUtf8().constData(), nullptr);
                break;
            case ExportTable::Type::Integer:
                error = worksheet_write_number(sheet, row, c, double(value.toLongLong()), integer);
                break;
            case ExportTable::Type::Duration:
                error =
                    worksheet_write_number(sheet, row, c, double(value.toLongLong()) / MsPerDay, duration);
                break;
            case ExportTable::Type::Moment:
                error = worksheet_write_number(sheet, row, c,
                                               UnixEpochDay + double(value.toLongLong()) / MsPerDay, moment);
                break;
            }
            if (error != LXW_NO_ERROR)
                fail(targetPath, error);
        }
        worksheet_set_column(sheet, c, c, std::clamp(double(width) + WidthMargin, MinimumWidth, MaximumWidth),
                             nullptr);
    }
    worksheet_freeze_panes(sheet, 1, 0);
    if (columnCount > 0)
        worksheet_autofilter(sheet, 0, 0, lxw_row_t(table.rows.size()), lxw_col_t(columnCount - 1));
    const lxw_error error = book.close();
    if (error != LXW_NO_ERROR)
        fail(targetPath, error);
    return Files::readAll(path);
}

} // namespace XlsxFile
