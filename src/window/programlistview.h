#pragma once

#include <QTreeWidget>

#include <functional>
#include <vector>

class QMimeData;

namespace tql {

// The program list's tree, its rows dragged as the clipboard carries them: within the list
// the highlighted rows move where they are dropped; from elsewhere (another tool, a text
// editor) the rows are put there. The list never moves its items itself: the program panel
// changes the program, and the list is built again from it.
class ProgramListView final : public QTreeWidget {
    Q_OBJECT

public:
    // rowsData: the data of program rows, as the clipboard carries them.
    explicit ProgramListView(std::function<QMimeData*(const std::vector<int>& rows)> rowsData);

    // The tool's own rows, beside the text of the program file's lines.
    static const QString kRowsMime;

signals:
    // before: the row the drop came before (RowCounter + 1: at the end).
    void rowsMovedTo(int before);
    void rowsDropped(int before, const QMimeData* data);

protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
    Qt::DropActions supportedDropActions() const override;
    void dropEvent(QDropEvent* event) override;

private:
    std::function<QMimeData*(const std::vector<int>& rows)> m_rowsData;
};

}  // namespace tql
