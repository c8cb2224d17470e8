// SPDX-License-Identifier: GPL-3.0-or-later
#include "content/CountedText.h"

#include "content/Language.h"

QString countedText(int oneId, int manyId, qint64 count)
{
    const bool zeroIsOne = Language::locale().language() == QLocale::French;
    const bool one = count == 1 || (count == 0 && zeroIsOne);
    return LoadString(one ? oneId : manyId).arg(QString::number(count));
}
