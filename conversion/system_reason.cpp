// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "system_reason.h"

#include <cerrno>

namespace velvix {

std::string SystemReason(std::error_code error)
{
    if (!error) {
        return "Unbekannter Fehler";
    }
    if (error.category() != std::generic_category() && error.category() != std::system_category()) {
        return error.message();
    }
    switch (error.value()) {
    case EISDIR:
        return "An dieser Stelle steht ein Ordner";
    case ENOSPC:
    case EDQUOT:
        return "Der Datenträger ist voll";
    case EACCES:
    case EPERM:
        return "Keine Berechtigung";
    case EROFS:
        return "Das Dateisystem ist schreibgeschützt";
    case ENOENT:
        return "Die Datei oder der Ordner existiert nicht";
    case ENOTDIR:
        return "Ein Teil des Pfades ist kein Ordner";
    case EOPNOTSUPP:
    case ENXIO:
        return "Das ist keine gewöhnliche Datei";
    case EFBIG:
        return "Die Datei ist zu groß";
    case EEXIST:
        return "Die Datei oder der Ordner existiert schon";
    case ENOTEMPTY:
        return "Der Ordner ist nicht leer";
    case EBUSY:
    case ETXTBSY:
        return "Die Datei wird gerade benutzt";
    case ENAMETOOLONG:
        return "Der Name ist zu lang";
    case EIO:
        return "Ein- oder Ausgabefehler des Datenträgers";
    default:
        return error.message();
    }
}

std::string SystemReasonFromErrno(int error)
{
    return error != 0 ? SystemReason(std::error_code(error, std::generic_category())) : "Unbekannter Fehler";
}

} // namespace velvix
