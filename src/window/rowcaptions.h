#pragma once

#include <QString>

namespace tql {

// The row kinds' captions ("速度", "絕對移動", ...) are file data: the file and the wire keep
// them in Chinese, and the list shows them in the language the tool runs in. Any other
// text of a row is shown as it stands.
QString shownCell(const QString& cell);

// Whether the text is a caption the list translates.
bool isRowCaption(const QString& cell);

}  // namespace tql
