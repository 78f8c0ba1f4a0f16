#include "window/listingexport.h"

#include "files/atomicfile.h"
#include "window/prompter.h"
#include "window/rowcaptions.h"

#include <QApplication>
#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

namespace tql {
namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(Listing)
};

QString htmlCell(const QString& text, const char* tag = "td") {
    return QStringLiteral("<%1>%2</%1>").arg(QLatin1String(tag), text.toHtmlEscaped());
}

}  // namespace

QByteArray listingPdf(const std::vector<ListingRow>& listing, const QString& title) {
    QString html = QStringLiteral(
                       "<h3>%1</h3><table border=\"1\" cellspacing=\"0\" "
                       "cellpadding=\"3\" width=\"100%\"><tr>")
                       .arg(title.toHtmlEscaped());
    for (const QString& heading :
         {Texts::tr("行數"), Texts::tr("指令"), Texts::tr("數據"), Texts::tr("X 座標"),
          Texts::tr("附註"), Texts::tr("附註"), Texts::tr("控制器指令")}) {
        html += htmlCell(heading, "th");
    }
    html += QStringLiteral("</tr>");
    for (const ListingRow& row : listing) {
        html +=
            QStringLiteral("<tr>") + htmlCell(QString::number(row.row)) + htmlCell(row.cells[0]);
        for (size_t c = 1; c < row.cells.size(); ++c) {
            html += htmlCell(shownCell(row.cells[c]));
        }
        QString text;
        for (const QString& line : row.controllerText) {
            text += (text.isEmpty() ? QString() : QStringLiteral("<br>")) + line.toHtmlEscaped();
        }
        html += QStringLiteral("<td><tt>%1</tt></td></tr>").arg(text);
    }
    html += QStringLiteral("</table>");

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setTitle(title);
    pdf.setCreator(QApplication::applicationName());
    QTextDocument document;
    document.setDefaultFont(QApplication::font());
    document.setHtml(html);
    document.print(&pdf);
    return bytes;
}

void exportListing(const ProgramTable& table, int RowCounter, const QString& title, bool pdf,
                   Prompter& prompter, QWidget* parent) {
    const QString path = chooseSaveName(
        prompter, parent,
        pdf ? Texts::tr("PDF 檔(*.pdf) | *.pdf") : Texts::tr("CSV 檔(*.csv) | *.csv"));
    if (path.isEmpty()) {
        return;
    }
    const std::vector<ListingRow> listing = programListing(table, RowCounter);
    if (const auto failure =
            writeFileAtomically(path, pdf ? listingPdf(listing, title) : listingCsv(listing))) {
        prompter.message(parent, *failure, applicationTitle(), Prompter::Buttons::Ok,
                         Prompter::Icon::Warning);
    }
}

}  // namespace tql
