#pragma once

#include <QString>

// Passwords are kept in the settings as the Base64 of their UTF-8 bytes; an empty password is an empty value.
QString EncodeSecret(const QString& password);
QString DecodeSecret(const QString& stored);
