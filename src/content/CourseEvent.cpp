// SPDX-License-Identifier: GPL-3.0-or-later
#include "content/CourseEvent.h"

#include "platform/AppError.h"
#include "platform/Files.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>

namespace {

constexpr char RootElement[] = "course-scribe-event";
constexpr char AllBoxes[] = "all";
constexpr char Boxes[] = "CDEFGH";
constexpr char Standard2018[] = "2018";
constexpr double MillimetresPerKilometre = 1e6;

const struct
{
    const char* name;
    EventControl::Kind kind;
} ControlKinds[] = {{"normal", EventControl::Normal},
                    {"start", EventControl::Start},
                    {"finish", EventControl::Finish},
                    {"crossing-point", EventControl::CrossingPoint},
                    {"map-exchange", EventControl::MapExchange}};

// A description as the file writes it; its box and symbol are judged when a course uses it.
struct RawDescription
{
    QString box;
    QString symbolId;
    QString text;
};

struct RawControl
{
    EventControl control;
    QList<RawDescription> descriptions;
};

struct RawCourse
{
    EventCourse course;
    QString first;
    int index = 0;
};

std::optional<double> number(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional(value) : std::nullopt;
}

// A whole number of a sane size from an attribute; nothing for anything else.
std::optional<int> wholeNumber(const QString& text)
{
    const std::optional<double> value = number(text);
    constexpr double Largest = 1e9;
    if (!value || std::abs(*value) > Largest)
        return std::nullopt;
    return int(std::lround(*value));
}

class EventParser
{
public:
    EventParser(const QString& path, const QByteArray& bytes) : m_path(path), m_xml(bytes) {}

    CourseEvent parse();

private:
    [[noreturn]] void fail(const char* message, const QStringList& arguments) const
    {
        throw AppError(QString::fromLatin1(message), arguments).inFile(m_path);
    }
    [[noreturn]] void failXml(QString what) const
    {
        // the reader's own message ends as a sentence, and the message goes on after it
        while (what.endsWith(QLatin1Char('.')))
            what.chop(1);
        throw AppError(QString::fromLatin1(Msg::NotAnEventFile), {what})
            .inFile(m_path)
            .atLine(m_xml.lineNumber());
    }
    QString attribute(const char* name) const
    {
        return m_xml.attributes().value(QLatin1String(name)).toString();
    }
    bool isElement(const char* name) const { return m_xml.name() == QLatin1String(name); }
    // The text of the current element, its child elements' texts included.
    QString elementText() { return m_xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed(); }

    // A control or course control whose id came before: the file is damaged at this line.
    [[noreturn]] void failTwice(qint64 line) const
    {
        throw AppError(QString::fromLatin1(Msg::DamagedFile)).inFile(m_path).atLine(line);
    }
    void readEvent();
    void readControl();
    RawDescription readDescription();
    void readCourse();
    void readCourseControl();
    EventCourse followCourse(const RawCourse& raw);
    void checkControl(const EventCourse& course, const RawControl& raw);

    QString m_path;
    QXmlStreamReader m_xml;
    CourseEvent m_event;
    QHash<QString, RawControl> m_controls;
    QList<RawCourse> m_courses;
    QHash<QString, QPair<QString, QString>> m_courseControls; // id -> (control, next)
};

CourseEvent EventParser::parse()
{
    m_event.path = m_path;
    if (!m_xml.readNextStartElement()) {
        failXml(m_xml.hasError() ? m_xml.errorString() : QString::fromLatin1(Msg::NothingInFile));
    }
    if (!isElement(RootElement))
        failXml(QLatin1Char('<') + m_xml.name().toString() + QLatin1Char('>'));
    while (m_xml.readNextStartElement()) {
        if (isElement("event"))
            readEvent();
        else if (isElement("control"))
            readControl();
        else if (isElement("course"))
            readCourse();
        else if (isElement("course-control"))
            readCourseControl();
        else
            m_xml.skipCurrentElement();
    }
    // the rest of the file must be well-formed too
    while (!m_xml.atEnd())
        m_xml.readNext();
    if (m_xml.hasError())
        failXml(m_xml.errorString());

    std::stable_sort(m_courses.begin(), m_courses.end(), [](const RawCourse& a, const RawCourse& b) {
        return a.course.order != b.course.order ? a.course.order < b.course.order : a.index < b.index;
    });
    for (const RawCourse& raw : m_courses)
        m_event.courses.append(followCourse(raw));
    return m_event;
}

void EventParser::readEvent()
{
    while (m_xml.readNextStartElement()) {
        if (isElement("title")) {
            m_event.title = elementText();
        } else if (isElement("standards")) {
            if (attribute("description").trimmed() == QLatin1String(Standard2018))
                m_event.standard = CourseEvent::Standard2018;
            m_xml.skipCurrentElement();
        } else if (isElement("map")) {
            m_event.mapScale = std::max(0, wholeNumber(attribute("scale")).value_or(0));
            m_xml.skipCurrentElement();
        } else {
            m_xml.skipCurrentElement();
        }
    }
}

void EventParser::readControl()
{
    RawControl raw;
    const qint64 line = m_xml.lineNumber();
    raw.control.id = attribute("id");
    if (m_controls.contains(raw.control.id))
        failTwice(line);
    const QString kind = attribute("kind");
    raw.control.kind = EventControl::Other;
    for (const auto& k : ControlKinds) {
        if (kind == QLatin1String(k.name))
            raw.control.kind = k.kind;
    }
    while (m_xml.readNextStartElement()) {
        if (isElement("code")) {
            raw.control.code = elementText();
        } else if (isElement("location")) {
            const std::optional<double> x = number(attribute("x"));
            const std::optional<double> y = number(attribute("y"));
            if (x && y)
                raw.control.location = QPointF(*x, *y);
            m_xml.skipCurrentElement();
        } else if (isElement("description")) {
            raw.descriptions.append(readDescription());
        } else {
            m_xml.skipCurrentElement();
        }
    }
    m_controls.insert(raw.control.id, raw);
}

// A description names its symbol by an attribute, or holds a text: an attribute, its own text, or
// else that of its first child (the first of the texts of several languages).
RawDescription EventParser::readDescription()
{
    RawDescription d;
    d.box = attribute("box").trimmed();
    d.symbolId = attribute("iof-2004-ref").trimmed();
    d.text = attribute("text").trimmed();
    QString own;
    QString child;
    while (!m_xml.atEnd()) {
        m_xml.readNext();
        if (m_xml.isEndElement())
            break;
        if (m_xml.isCharacters()) {
            own += m_xml.text();
        } else if (m_xml.isStartElement()) {
            const QString text = elementText();
            if (child.isEmpty())
                child = text;
        }
    }
    if (d.text.isEmpty())
        d.text = own.trimmed().isEmpty() ? child : own.trimmed();
    return d;
}

void EventParser::readCourse()
{
    RawCourse raw;
    raw.index = int(m_courses.size());
    raw.course.order = wholeNumber(attribute("order")).value_or(0);
    while (m_xml.readNextStartElement()) {
        if (isElement("name")) {
            raw.course.name = elementText();
        } else if (isElement("first")) {
            raw.first = attribute("course-control");
            m_xml.skipCurrentElement();
        } else if (isElement("options")) {
            const std::optional<int> climb = wholeNumber(attribute("climb"));
            if (climb && *climb >= 0)
                raw.course.climb = climb;
            raw.course.printScale = std::max(0, wholeNumber(attribute("print-scale")).value_or(0));
            m_xml.skipCurrentElement();
        } else {
            m_xml.skipCurrentElement();
        }
    }
    m_courses.append(raw);
}

void EventParser::readCourseControl()
{
    const QString id = attribute("id");
    const QString control = attribute("control");
    if (m_courseControls.contains(id))
        failTwice(m_xml.lineNumber());
    QString next;
    while (m_xml.readNextStartElement()) {
        if (isElement("next"))
            next = attribute("course-control");
        m_xml.skipCurrentElement();
    }
    m_courseControls.insert(id, {control, next});
}

EventCourse EventParser::followCourse(const RawCourse& raw)
{
    EventCourse course = raw.course;
    QSet<QString> visited;
    QString at = raw.first;
    while (!at.isEmpty()) {
        const auto link = m_courseControls.constFind(at);
        if (link == m_courseControls.constEnd())
            fail(Msg::MissingCourseControl, {course.name, at});
        const auto control = m_controls.constFind(link->first);
        if (control == m_controls.constEnd())
            fail(Msg::MissingControl, {course.name, link->first});
        if (visited.contains(at))
            fail(Msg::CourseLoop, {course.name, control->control.shownName()});
        visited.insert(at);
        checkControl(course, *control);
        course.controls.append(control->control.id);
        at = link->second;
    }
    return course;
}

// The control's descriptions judged where a course uses it, and kept in the event once.
void EventParser::checkControl(const EventCourse& course, const RawControl& raw)
{
    if (m_event.controls.contains(raw.control.id))
        return;
    const QString name = raw.control.shownName();
    if (raw.control.kind == EventControl::Normal && raw.descriptions.isEmpty())
        fail(Msg::ControlWithoutDescription, {course.name, name});
    EventControl control = raw.control;
    for (const RawDescription& d : raw.descriptions) {
        ControlDescription description;
        const qsizetype box = QByteArrayView(Boxes).indexOf(d.box.toUpper().toLatin1());
        const bool wholeRow = d.box.compare(QLatin1String(AllBoxes), Qt::CaseInsensitive) == 0;
        const QString what = d.symbolId.isEmpty() ? d.text : d.symbolId;
        if (!wholeRow && (d.box.size() != 1 || box < 0))
            fail(Msg::DescriptionOutOfPlace, {course.name, name, what, d.box});
        description.box = wholeRow ? ControlDescription::WholeRow : int(box);
        if (!d.symbolId.isEmpty()) {
            const std::optional<CourseSymbolIds::Target> target = CourseSymbolIds::lookUp(d.symbolId);
            if (!target)
                fail(Msg::UnknownSymbolId, {course.name, name, d.symbolId});
            // an instruction runs across its row, a symbol stands in a box
            if (wholeRow != (target->instruction != 0))
                fail(Msg::DescriptionOutOfPlace, {course.name, name, what, d.box});
            description.symbolId = d.symbolId;
            description.symbol = *target;
        } else if (d.text.isEmpty()) {
            fail(Msg::DescriptionOutOfPlace, {course.name, name, what, d.box});
        } else {
            description.text = d.text;
        }
        control.descriptions.append(description);
    }
    m_event.controls.insert(control.id, control);
}

} // namespace

QString EventControl::shownName() const
{
    if (!code.isEmpty())
        return code;
    for (const auto& k : ControlKinds) {
        if (kind == k.kind && kind != Normal)
            return QLatin1String(k.name);
    }
    return QLatin1Char('#') + id;
}

const EventCourse* CourseEvent::course(const QString& name) const
{
    for (const EventCourse& c : courses) {
        if (c.name.compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

int CourseEvent::controlCount(const EventCourse& course) const
{
    return int(std::count_if(course.controls.cbegin(), course.controls.cend(),
                             [this](const QString& id) { return control(id).kind == EventControl::Normal; }));
}

std::optional<double> CourseEvent::lengthKm(const EventCourse& course) const
{
    const int scale = mapScale > 0 ? mapScale : course.printScale;
    if (scale <= 0)
        return std::nullopt;
    double millimetres = 0;
    for (qsizetype i = 0; i < course.controls.size(); ++i) {
        const std::optional<QPointF> here = control(course.controls[i]).location;
        if (!here)
            return std::nullopt;
        if (i > 0) {
            const QPointF leg = *here - *control(course.controls[i - 1]).location;
            millimetres += std::hypot(leg.x(), leg.y());
        }
    }
    return millimetres * scale / MillimetresPerKilometre;
}

CourseEvent readCourseEvent(const QString& path)
{
    const QString absolute = QDir::current().absoluteFilePath(path);
    QFile file;
    Files::openForRead(file, absolute);
    // a file too large is refused before it is read, and one that grew while it was read after
    QByteArray bytes;
    if (file.size() <= MaxEventFileBytes) {
        bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            Files::throwFileError(file, 0);
    }
    if (file.size() > MaxEventFileBytes || bytes.size() > MaxEventFileBytes)
        throw AppError(QString::fromLatin1(Msg::EventFileTooLarge),
                       {QString::number(MaxEventFileBytes >> 20)})
            .inFile(absolute);
    return EventParser(absolute, bytes).parse();
}
