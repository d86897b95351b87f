#include "common/FileNames.h"

#include <QFile>

namespace pelomar {

QString nameToQt(std::string_view bytes) {
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string nameFromQt(const QString& name) { return QFile::encodeName(name).toStdString(); }

}  // namespace pelomar
