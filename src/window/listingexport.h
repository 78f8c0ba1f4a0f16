#pragma once

#include "translator/listing.h"

#include <QByteArray>
#include <QString>

class QWidget;

namespace tql {

class Prompter;

// The listing as a PDF page after page: the title, then a table of the rows as the program
// list shows them (the captions in the tool's language) with the controller text of each
// beside it; the page number on every page.
QByteArray listingPdf(const std::vector<ListingRow>& listing, const QString& title);

// 列印清單 (PDF) and 匯出清單 (CSV): the file asked for, written whole or not at all; a
// failure is said.
void exportListing(const ProgramTable& table, int RowCounter, const QString& title, bool pdf,
                   Prompter& prompter, QWidget* parent);

}  // namespace tql
