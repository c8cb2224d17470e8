#include "learning/TestNames.h"

#include "content/Catalogue.h"
#include "content/Language.h"
#include "content/StatisticsStrings.h"
#include "domain/TestNumbers.h"
#include "learning/QuizDirection.h"
#include "platform/AppError.h"

TestNames::TestNames()
{
    for (const int catalogue :
         {StringId::DescriptionCatalogue, StringId::CombinationCatalogue, StringId::MapSymbolCatalogue}) {
        try {
            const QList<TTypesItem> entries = ReadCatalogueEntries(ContentFileName(LoadString(catalogue)));
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
