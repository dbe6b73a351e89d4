#pragma once
#include <QString>
QString FreeAllowanceLeft(const QString& tariffFile);
