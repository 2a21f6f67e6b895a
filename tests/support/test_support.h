#pragma once

#include <QString>

// Where the BMP corpus and other inputs kept outside the repository live.
inline QString testDataDir()
{
    return QStringLiteral(ZUVORAK_TESTDATA);
}
