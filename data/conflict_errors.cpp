#include "conflict_errors.h"

#include <ibase.h>

namespace conflict {

namespace {

const QString kAdvice = QStringLiteral(
    "Нажмите «Запрос», чтобы увидеть их последнее состояние, и повторите изменение.");

DbError conflictError(const QString &message, std::vector<long> codes = {isc_update_conflict})
{
    return DbError(message, std::move(codes), 0);
}

} // namespace

bool isConflict(const DbError &error)
{
    return error.hasAnyEngineCode({isc_lock_conflict, isc_update_conflict, isc_deadlock});
}

DbError busyElsewhere(const QString &engineText, std::vector<long> engineCodes)
{
    return conflictError(QStringLiteral("Эти данные сейчас изменяет другой пользователь, либо он "
                                        "уже изменил их.\n") +
                             kAdvice + QStringLiteral("\n\n") + engineText,
                         std::move(engineCodes));
}

DbError changedElsewhere()
{
    return conflictError(
        QStringLiteral("Эти данные изменил другой пользователь после того, как они были "
                       "прочитаны здесь. Ваше изменение не записано, чтобы не стереть его.\n") +
        kAdvice);
}

DbError deletedElsewhere()
{
    return conflictError(QStringLiteral("Эти данные удалил другой пользователь.\nНажмите "
                                        "«Запрос», чтобы увидеть их последнее состояние."));
}

DbError naming(const DbError &error, const QString &recordTitle)
{
    if (recordTitle.isEmpty())
        return error;
    QString message = error.message();
    const qsizetype lineEnd = message.indexOf(QLatin1Char('\n'));
    message.insert(lineEnd < 0 ? message.size() : lineEnd, QLatin1Char('\n') + recordTitle);
    return DbError(message, error.engineCodes(), error.systemError());
}

} // namespace conflict
