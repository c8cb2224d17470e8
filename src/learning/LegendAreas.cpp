// SPDX-License-Identifier: GPL-3.0-or-later
#include "learning/LegendAreas.h"

#include "content/Language.h"

#include <stdexcept>
#include <string>

LegendAreas::LegendAreas(QWidget* page)
{
    m_markers.reserve(LegendAreaTable::Areas.size());
    for (const AreaPlace& area : LegendAreaTable::Areas) {
        const QColor outline = area.whiteOutline ? AreaMarker::White : AreaMarker::Navy;
        auto* marker = new AreaMarker(area.tag, area.form, outline, page);
        marker->setObjectName(QStringLiteral("Area%1").arg(area.tag));
        // named by its place only: a name that said what the area is would answer the quiz
        marker->setAccessibleName(LoadString(StringId::SheetPartName).arg(area.tag));
        marker->setGeometry(area.place);
        marker->hide();
        // above the pictures, whatever was created after them
        marker->raise();
        m_markers.push_back(marker);
    }
}

void LegendAreas::SetAreasVisible(bool visible)
{
    for (AreaMarker* marker : m_markers)
        marker->setVisible(visible);
}

AreaMarker* LegendAreas::AreaByTag(int tag) const
{
    for (AreaMarker* marker : m_markers) {
        if (marker->Tag() == tag)
            return marker;
    }
    Q_ASSERT_X(false, "LegendAreas::AreaByTag", "no area marker carries this tag");
    throw std::out_of_range("no area marker carries tag " + std::to_string(tag));
}
