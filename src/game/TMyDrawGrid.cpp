// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/TMyDrawGrid.h"

#include "content/PictureLibrary.h"
#include "game/RoundModel.h"
#include "platform/AppError.h"
#include "platform/MessageBoxes.h"
#include "platform/Random.h"

#include <QAccessible>
#include <QDir>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

namespace {
// The symbol grid's class defaults.
constexpr int GridColumns = 3;
constexpr int GridRows = 5;
constexpr int GridCellSize = 113;
constexpr int GridLineGap = 5;
const QColor GridLineWhite(0xFF, 0xFF, 0xFF);

// On a silver grid the lines are drawn grey.
constexpr QRgb SilverGrid = 0xFFC0C0C0;
const QColor GreyGridLine(0x80, 0x80, 0x80);

// A library cell without a picture name shows a blank picture of the cell's size.
constexpr QRgb BlankPictureColor = 0xFFFFFFFF;
// The text help line starts this far above the cell's bottom edge.
constexpr int TextHelpRise = 20;
// A shortened text help line ends with these dots; room is kept for one more.
const QString TextHelpDots = QStringLiteral("...");
const QString TextHelpRoom = QStringLiteral("....");
constexpr int TextHelpChop = 2;
constexpr int TextHelpMinLength = 2;
// A frame drawn with `pen` inside the cell `cell` (nothing outside it).
void drawFrame(QPainter& painter, const QRect& cell, const QRect& frame, const QPen& pen)
{
    painter.save();
    painter.setClipRect(cell);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame);
    painter.restore();
}

} // namespace

// One of the four one-pixel lines that frame the cell under the mouse, drawn in the palette's
// bevel colours: highlight at the top left and shadow at the bottom right when raised, the other
// way round when sunken.
class TMyDrawGrid::FrameLine : public QWidget
{
public:
    enum class Shape { Left, Top, Right, Bottom };

    FrameLine(Shape shape, QWidget* parent) : QWidget(parent), m_shape(shape)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        // Not yet placed on a cell: nothing to show even when made visible.
        setGeometry(QRect());
        hide();
    }

    void setSunken(bool sunken)
    {
        if (m_sunken == sunken)
            return;
        m_sunken = sunken;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        const bool leading = m_shape == Shape::Left || m_shape == Shape::Top;
        const QPalette::ColorRole role = leading != m_sunken ? QPalette::Light : QPalette::Dark;
        QPainter(this).fillRect(rect(), palette().color(role));
    }

private:
    Shape m_shape;
    bool m_sunken = false;
};

TMyDrawGrid::TMyDrawGrid(QWidget* parent) : TMyCustomGrid(parent)
{
    SetColCount(GridColumns);
    SetRowCount(GridRows);
    SetDefaultColWidth(GridCellSize);
    SetDefaultRowHeight(GridCellSize);
    SetGridLineWidth(GridLineGap);
    SetGridLineColor(GridLineWhite);
    SetDefaultDrawing(false);
    m_fontSymbolsColor = palette().color(QPalette::WindowText);
    m_fontTextColor = palette().color(QPalette::WindowText);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);

    for (int i = 0; i < ItemCount; ++i) {
        m_items[i] = new CellItem(this);
        m_items[i]->m_index = i;
    }
    using Shape = FrameLine::Shape;
    const std::array<std::pair<Shape, const char*>, 4> lines{{{Shape::Left, "FrameLeft"},
                                                              {Shape::Top, "FrameTop"},
                                                              {Shape::Right, "FrameRight"},
                                                              {Shape::Bottom, "FrameBottom"}}};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        m_frame[i] = new FrameLine(lines[i].first, this);
        m_frame[i]->setObjectName(QString::fromLatin1(lines[i].second));
    }
}

TMyDrawGrid::~TMyDrawGrid()
{
    // the cells' interfaces point at this grid
    for (const unsigned id : std::as_const(m_cellAccessibleIds)) {
        if (id != 0)
            QAccessible::deleteAccessibleInterface(id);
    }
}

void TMyDrawGrid::SetShowBevel(bool showBevel)
{
    if (m_showBevel == showBevel)
        return;
    m_showBevel = showBevel;
    for (FrameLine* line : m_frame)
        line->setVisible(showBevel);
}

void TMyDrawGrid::SetStretchImg(bool stretchImg)
{
    if (m_stretchImg == stretchImg)
        return;
    m_stretchImg = stretchImg;
    update();
}

void TMyDrawGrid::SetShowTextHelp(bool showTextHelp)
{
    if (m_showTextHelp == showTextHelp)
        return;
    m_showTextHelp = showTextHelp;
    update();
}

void TMyDrawGrid::SetShowTextOnly(bool showTextOnly)
{
    if (m_showTextOnly == showTextOnly)
        return;
    m_showTextOnly = showTextOnly;
    update();
}

void TMyDrawGrid::SetFontSymbols(const QFont& font)
{
    m_fontSymbols = font;
}

void TMyDrawGrid::SetFontText(const QFont& font)
{
    m_fontText = font;
}

void TMyDrawGrid::SetFontSymbolsColor(const QColor& color)
{
    m_fontSymbolsColor = color;
}

void TMyDrawGrid::SetFontTextColor(const QColor& color)
{
    m_fontTextColor = color;
}

CellItem* TMyDrawGrid::Item(int index)
{
    if (index < 0 || index >= ItemCount)
        return nullptr;
    CellItem* item = m_items[index];
    item->m_index = index;
    return item;
}

void TMyDrawGrid::SetItem(int index, CellItem* item)
{
    if (index < 0 || index >= ItemCount || !item)
        return;
    m_items[index] = item;
    item->m_index = index;
}

int TMyDrawGrid::CellCount() const
{
    return ColCount() * RowCount();
}

int TMyDrawGrid::boardSize() const
{
    return std::min(CellCount(), ItemCount);
}

int TMyDrawGrid::ClearedCount() const
{
    const int n = boardSize();
    return static_cast<int>(std::count_if(m_items.begin(), m_items.begin() + n,
                                          [](const CellItem* item) { return item->Cleared(); }));
}

void TMyDrawGrid::Shuffle()
{
    Randomize();
    const int n = boardSize();
    for (int k = 0; k < n; ++k) {
        const int a = Random(n);
        const int b = Random(n);
        if (Item(a)->Text.isEmpty())
            continue;
        CellItem* moving = Item(a);
        SetItem(a, Item(b));
        SetItem(b, moving);
    }
    update();
}

QString TMyDrawGrid::NextTarget()
{
    Randomize();
    const int n = boardSize();
    if (ClearedCount() >= CellCount())
        return {};
    // Uncleared cells without a text (items of a board that was never loaded) cannot be targets.
    const auto usable = [this](int index) {
        const CellItem* item = m_items[index];
        return !item->Cleared() && !item->Text.isEmpty();
    };
    const int index = RoundModel::drawTarget(n, usable);
    if (index < 0)
        return {};
    m_targetIndex = index;
    return Item(index)->Text;
}

int TMyDrawGrid::CellIndex(int col, int row) const
{
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount())
        return -1;
    const int index = row * ColCount() + col;
    return index < ItemCount ? index : -1;
}

int TMyDrawGrid::CellIndexAt(int x, int y) const
{
    const int col = ColumnAt(x);
    const int row = RowAt(y);
    return col < 0 || row < 0 ? -1 : CellIndex(col, row);
}

QString TMyDrawGrid::ShortenedTextHelp(const QString& text, const QFontMetrics& metrics, int colWidth)
{
    int width = metrics.horizontalAdvance(text);
    if (width < colWidth)
        return text;
    const int room = colWidth - metrics.horizontalAdvance(TextHelpRoom);
    QString shortened = text;
    while (width >= room) {
        shortened.chop(TextHelpChop);
        if (shortened.size() < TextHelpMinLength)
            break;
        width = metrics.horizontalAdvance(shortened);
    }
    return shortened + TextHelpDots;
}

void TMyDrawGrid::RepaintCellOf(int index)
{
    if (index < 0)
        return;
    update(CellBounds(index % ColCount(), index / ColCount()));
}

QColor TMyDrawGrid::effectiveLineColor() const
{
    return Color().rgb() == SilverGrid ? GreyGridLine : GridLineColor();
}

void TMyDrawGrid::paintEvent(QPaintEvent* event)
{
    m_paintLibraries.clear();
    try {
        TMyCustomGrid::paintEvent(event);
    } catch (const AppError& error) {
        // The paint ends at the cell that failed; the message is shown outside the paint.
        reportPaintError(error);
    }
    m_paintLibraries.clear();
}

void TMyDrawGrid::reportPaintError(const AppError& error)
{
    // Every paint of a broken cell fails again: one message at a time is enough.
    if (m_paintErrorPending)
        return;
    m_paintErrorPending = true;
    QMetaObject::invokeMethod(
        this,
        [this, error] {
            MessageBoxes::showError(error);
            m_paintErrorPending = false;
        },
        Qt::QueuedConnection);
}

void TMyDrawGrid::drawCell(QPainter& painter, int col, int row, const QRect& rect)
{
    if (!isSignalConnected(QMetaMethod::fromSignal(&TMyDrawGrid::DrawCell)))
        return;
    const int index = CellIndex(col, row);
    if (index != -1) {
        painter.fillRect(rect, Color());
        const CellItem& item = *Item(index);
        const auto flash = m_flashes.constFind(index);
        // a right press still shows what was found while its mark lasts
        if (!item.Cleared() || (flash != m_flashes.constEnd() && *flash == Flash::Right)) {
            const QImage& picture = cellPicture(item);
            painter.setClipRect(rect);
            if (m_showTextOnly) {
                painter.setFont(m_fontText);
                painter.setPen(m_fontTextColor);
                painter.drawText(rect, Qt::AlignCenter | Qt::TextWordWrap, item.Text);
            } else if (m_stretchImg) {
                painter.drawImage(rect, picture);
            } else {
                painter.drawImage(rect.topLeft(), picture);
            }
            if (m_showTextHelp && !m_showTextOnly) {
                painter.setFont(m_fontText);
                const QFontMetrics metrics = painter.fontMetrics();
                painter.setPen(m_fontTextColor);
                painter.setBackgroundMode(Qt::OpaqueMode);
                painter.setBackground(Color());
                // the line sits 20 px above the cell's bottom; a font taller than that rises
                // with it, so that descenders stay inside the cell
                const int top = rect.top() + rect.height() - std::max(TextHelpRise, metrics.height());
                painter.drawText(QPoint(rect.left(), top + metrics.ascent()),
                                 ShortenedTextHelp(item.Text, metrics, DefaultColWidth()));
            }
        }
        if (item.Kind() == CellItem::KindMapSymbol && !item.Cleared())
            drawMapCellFrame(painter, rect);
        if (flash != m_flashes.constEnd())
            drawFlash(painter, rect, *flash);
        if (index == m_focusCell && hasFocus())
            drawFocusFrame(painter, rect);
    }
    emit DrawCell(col, row, rect);
}

const QImage& TMyDrawGrid::cellPicture(const CellItem& item)
{
    switch (item.Kind()) {
    case CellItem::KindFontSymbol:
        return item.PictureLarge;
    case CellItem::KindLibraryPicture:
    case CellItem::KindMapSymbol: {
        if (item.ResourceName().isEmpty())
            return blankPicture();
        PictureLibrary* library = paintLibrary(item.LibraryName());
        if (!library)
            throw AppError(QString::fromLatin1(Msg::ResourceNotFound), {item.ResourceName()})
                .inFile(QDir::current().absoluteFilePath(item.LibraryName()));
        return library->picture(item.ResourceName());
    }
    default:
        return blankPicture();
    }
}

PictureLibrary* TMyDrawGrid::paintLibrary(const QString& fileName)
{
    auto it = m_paintLibraries.constFind(fileName);
    if (it == m_paintLibraries.constEnd())
        it = m_paintLibraries.insert(fileName, PictureLibrary::open(fileName));
    return *it;
}

const QImage& TMyDrawGrid::blankPicture()
{
    const QSize size(DefaultColWidth(), DefaultRowHeight());
    if (m_blankPicture.size() != size) {
        m_blankPicture = QImage(size, QImage::Format_RGB32);
        m_blankPicture.fill(BlankPictureColor);
    }
    return m_blankPicture;
}

void TMyDrawGrid::mousePressEvent(QMouseEvent* event)
{
    press(event);
}

void TMyDrawGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click is a press like the first.
    press(event);
}

void TMyDrawGrid::press(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    trackMouse(position, true);
    const int col = ColumnAt(position.x());
    const int row = RowAt(position.y());
    if (col >= 0 && row >= 0 && rect().contains(position))
        emit ClickMyCell(this, col, row, CellIndex(col, row), event->button());
    event->accept();
}

void TMyDrawGrid::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    trackMouse(position, false);
    emit GridMouseMove(event->modifiers(), position.x(), position.y());
    event->accept();
}

void TMyDrawGrid::mouseReleaseEvent(QMouseEvent* event)
{
    m_pressed = false;
    trackMouse(event->position().toPoint(), false);
    event->accept();
}

void TMyDrawGrid::trackMouse(const QPoint& position, bool press)
{
    const int col = rect().contains(position) ? ColumnAt(position.x()) : -1;
    const int row = rect().contains(position) ? RowAt(position.y()) : -1;
    const int index = col < 0 || row < 0 ? -1 : CellIndex(col, row);
    const CellItem* item = index < 0 ? nullptr : Item(index);
    m_hoverText = item ? item->Text : QString();
    if (!item || item->Cleared() || !m_showBevel) {
        hideFrame();
        return;
    }
    if (press) {
        m_pressed = true;
        placeFrame(CellBounds(col, row), FrameStyle::Sunken);
    } else if (!m_pressed) {
        placeFrame(CellBounds(col, row), FrameStyle::Raised);
    }
}

void TMyDrawGrid::placeFrame(const QRect& cell, FrameStyle style)
{
    const int left = cell.left();
    const int top = cell.top();
    const int right = cell.left() + cell.width();
    const int bottom = cell.top() + cell.height();
    const std::array<QRect, 4> geometry{
        QRect(left, top, 1, DefaultRowHeight()), QRect(left, top, DefaultColWidth(), 1),
        QRect(right, top, 1, DefaultRowHeight()), QRect(left, bottom, DefaultColWidth(), 1)};
    for (std::size_t i = 0; i < m_frame.size(); ++i) {
        m_frame[i]->setGeometry(geometry[i]);
        m_frame[i]->setSunken(style == FrameStyle::Sunken);
        m_frame[i]->show();
        m_frame[i]->raise();
    }
}

void TMyDrawGrid::hideFrame()
{
    for (FrameLine* line : m_frame)
        line->hide();
}

namespace {
// The marks of a press: green for right, red for wrong, a blue outline for the right answer.
const QColor RightColor(0, 160, 0);
const QColor WrongColor(220, 0, 0);
const QColor AnswerColor(0, 90, 220);
constexpr int FlashPenWidth = 5;
constexpr int FlashTintAlpha = 60;
} // namespace

void TMyDrawGrid::drawFlash(QPainter& painter, const QRect& rect, Flash kind)
{
    const QColor color = kind == Flash::Right ? RightColor : kind == Flash::Wrong ? WrongColor : AnswerColor;
    if (kind != Flash::Answer) {
        QColor tint = color;
        tint.setAlpha(FlashTintAlpha);
        painter.fillRect(rect, tint);
    }
    const int inset = FlashPenWidth / 2 + 1;
    drawFrame(painter, rect, rect.adjusted(inset, inset, -inset, -inset), QPen(color, FlashPenWidth));
}

void TMyDrawGrid::flashCell(int index, Flash kind)
{
    if (index < 0 || index >= boardSize())
        return;
    if (!m_flashTimer) {
        m_flashTimer = new QTimer(this);
        m_flashTimer->setSingleShot(true);
        connect(m_flashTimer, &QTimer::timeout, this, &TMyDrawGrid::clearFlashes);
    }
    m_flashes.insert(index, kind);
    RepaintCellOf(index);
    m_flashTimer->start(FlashMs);
}

void TMyDrawGrid::clearFlashes()
{
    const QList<int> cells = m_flashes.keys();
    m_flashes.clear();
    for (const int index : cells)
        RepaintCellOf(index);
}

namespace {
// The keyboard's cell: a dashed dark frame inside the cell, unlike the hover bevel and the marks.
const QColor FocusFrameColor(0, 0, 90);
constexpr int FocusFrameWidth = 3;
constexpr int FocusFrameInset = 4;
} // namespace

void TMyDrawGrid::drawFocusFrame(QPainter& painter, const QRect& rect)
{
    drawFrame(painter, rect,
              rect.adjusted(FocusFrameInset, FocusFrameInset, -FocusFrameInset, -FocusFrameInset),
              QPen(FocusFrameColor, FocusFrameWidth, Qt::DashLine));
}

void TMyDrawGrid::SetFocusCell(int index)
{
    const int cells = boardSize();
    const int cell = cells > 0 ? std::clamp(index, -1, cells - 1) : -1;
    if (cell == m_focusCell)
        return;
    const int old = m_focusCell;
    m_focusCell = cell;
    RepaintCellOf(old);
    RepaintCellOf(m_focusCell);
}

void TMyDrawGrid::keyPressEvent(QKeyEvent* event)
{
    const int cells = boardSize();
    if (cells <= 0) {
        TMyCustomGrid::keyPressEvent(event);
        return;
    }
    const int cols = std::max(1, ColCount());
    const int at = std::max(0, m_focusCell);
    int next = -1;
    switch (event->key()) {
    case Qt::Key_Right:
        next = (at + 1) % cells;
        break;
    case Qt::Key_Left:
        next = (at + cells - 1) % cells;
        break;
    case Qt::Key_Down:
        next = at + cols < cells ? at + cols : at;
        break;
    case Qt::Key_Up:
        next = at - cols >= 0 ? at - cols : at;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: {
        if (m_focusCell < 0) {
            SetFocusCell(0);
            event->accept();
            return;
        }
        // a press by key is judged as a click on the cell: its text is what was pressed
        const CellItem* item = Item(m_focusCell);
        m_hoverText = item ? item->Text : QString();
        emit ClickMyCell(this, m_focusCell % cols, m_focusCell / cols, m_focusCell, Qt::LeftButton);
        event->accept();
        return;
    }
    case Qt::Key_F1:
        if (m_focusCell >= 0)
            emit HelpRequested(m_focusCell);
        event->accept();
        return;
    default:
        TMyCustomGrid::keyPressEvent(event);
        return;
    }
    SetFocusCell(next);
    emit FocusCellMoved(m_focusCell);
    event->accept();
}

void TMyDrawGrid::focusInEvent(QFocusEvent* event)
{
    RepaintCellOf(m_focusCell);
    TMyCustomGrid::focusInEvent(event);
}

void TMyDrawGrid::focusOutEvent(QFocusEvent* event)
{
    RepaintCellOf(m_focusCell);
    TMyCustomGrid::focusOutEvent(event);
}

void TMyDrawGrid::drawMapCellFrame(QPainter& painter, const QRect& rect)
{
    // Map excerpts fill their cells to the edge: a thin frame keeps one symbol's contours from
    // running into the next one's.
    static const QColor MapCellFrame(185, 185, 185);
    drawFrame(painter, rect, rect.adjusted(0, 0, -1, -1), QPen(MapCellFrame, 1));
}

void TMyDrawGrid::ClearBoard()
{
    clearFlashes();
    hideFrame();
    for (int i = 0; i < ItemCount; ++i) {
        CellItem* item = Item(i);
        item->SetResourceName(QString());
        item->Text.clear();
        item->SetSymbolChar(QString());
        item->SetCleared(true);
        item->PictureV = QImage();
        item->PictureI = QImage();
        item->PictureN = QImage();
        item->PictureLarge = QImage();
    }
}

void TMyDrawGrid::showBoard(const QList<BoardSymbol>& symbols)
{
    ClearBoard();
    const int count = std::min(static_cast<int>(symbols.size()), int(ItemCount));
    for (int i = 0; i < count; ++i) {
        const BoardSymbol& symbol = symbols[i];
        CellItem* item = Item(i);
        item->SetKind(symbol.look);
        item->SetSymbolChar(symbol.symbolChar);
        item->SetLibraryName(symbol.libraryName);
        item->SetResourceName(symbol.resourceName);
        item->Number = symbol.number;
        item->Text = symbol.text;
        item->AddText = symbol.addText;
        item->PictureV = symbol.pictureV;
        item->PictureI = symbol.pictureI;
        item->PictureN = symbol.pictureN;
        item->PictureLarge = symbol.pictureLarge;
        item->SetCleared(false);
    }
}
