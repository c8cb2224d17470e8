// SPDX-License-Identifier: GPL-3.0-or-later
#include "learning/TestNames.h"

#include "content/Catalogue.h"
#include "content/ContentFiles.h"
#include "content/Language.h"
#include "game/WeakSymbolDrill.h"
#include "domain/TestNumbers.h"
#include "learning/QuizDirection.h"
#include "platform/AppError.h"

TestNames::TestNames()
{
    for (const QLatin1String catalogue :
         {ContentFiles::DescriptionCatalogue, ContentFiles::CombinationCatalogue,
          ContentFiles::MapSymbolCatalogue}) {
        try {
            const QList<TTypesItem> entries = ReadCatalogueEntries(ContentFileName(catalogue));
            for (const TTypesItem& entry : entries)
                m_names.insert(entry.TestNumber, entry.TestName.trimmed());
        } catch (const AppError&) {
            // the catalogue's tests keep the names stored with their results
        }
    }
    for (const QuizDirection& direction : QuizDirection::all())
        m_names.insert(direction.testNumber(), direction.testName());
    for (const SymbolKind kind : {SymbolKind::Description, SymbolKind::Line, SymbolKind::MapSymbol})
        m_names.insert(TestNumbers::drill(kind), LoadString(StringId::WeakSymbolsTest).trimmed());
}

QString TestNames::name(qint32 testNumber) const
{
    return m_names.value(testNumber);
}
