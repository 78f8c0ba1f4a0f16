#include "translator/listing.h"

#include "files/csv.h"
#include "translator/translator.h"

namespace tql {

std::vector<ListingRow> programListing(const ProgramTable& table, int RowCounter) {
    std::vector<ListingRow> listing;
    const int rows = std::min(RowCounter, kMaxProgramRows);
    for (int row = 1; row <= rows; ++row) {
        listing.push_back({row, table[size_t(row)], {}});
    }
    const Translation text = translateLeniently(table, rows);
    for (qsizetype n = 0; n < text.ControllerText.size(); ++n) {
        const int row = text.LineRows[size_t(n)];
        if (row >= 1 && row <= rows) {
            listing[size_t(row - 1)].controllerText << text.ControllerText[n];
        }
    }
    return listing;
}

QByteArray listingCsv(const std::vector<ListingRow>& listing) {
    QByteArray csv = "row,keyword,data,x,note,note2,controller\r\n";
    for (const ListingRow& row : listing) {
        csv += QByteArray::number(row.row);
        for (const QString& cell : row.cells) {
            csv += ',' + csvField(cell);
        }
        csv += ',' + csvField(row.controllerText.join(u' ')) + "\r\n";
    }
    return csv;
}

}  // namespace tql
