#pragma once

#include "program/programtable.h"

#include <QByteArray>
#include <QStringList>

#include <vector>

// 列印清單 and 匯出清單: the program as a listing, each row as it is stored beside the
// controller text it becomes.
namespace tql {

struct ListingRow {
    int row = 0;
    Row cells;                   // the keyword and the four columns, as the file keeps them
    QStringList controllerText;  // the lines the row becomes; none for a kind that gives none
};

// Every row 1..RowCounter; a program the translator refuses is listed with the text its
// rows give regardless, as the checks read it.
std::vector<ListingRow> programListing(const ProgramTable& table, int RowCounter);

// "row,keyword,data,x,note,note2,controller", then a line a row (UTF-8, CR LF), the
// controller lines of a row apart by a blank.
QByteArray listingCsv(const std::vector<ListingRow>& listing);

}  // namespace tql
