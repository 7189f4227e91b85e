#pragma once

#include <QString>

// The text of a printed PDF as pdftotext reads it in its layout, with every space, line
// break and ideographic space taken out, so that a figure reads the same however the
// page spaced it.
QString pdfTextWithoutSpaces(const QString& path);
