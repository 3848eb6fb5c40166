#pragma once
// Writes small zip archives for the unzip tests.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <zip.h>

struct ZipMember {
    ZipMember(const QString& n, const QByteArray& d, bool s = false, const QByteArray& pw = QByteArray())
        : name(n), data(d), stored(s), password(pw)
    {
    }
    QString name;
    QByteArray data;
    bool stored = false;
    QByteArray password;  // non-empty: AES-256 encrypted
};

inline bool writeZip(const QString& path, const QList<ZipMember>& members)
{
    int err = 0;
    zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    if (!z) return false;
    for (const ZipMember& m : members) {
        const QByteArray name = m.name.toUtf8();
        zip_int64_t idx;
        if (name.endsWith('/')) {
            idx = zip_dir_add(z, name.constData(), ZIP_FL_ENC_UTF_8);
        } else {
            zip_source_t* src = zip_source_buffer(z, m.data.constData(), zip_uint64_t(m.data.size()), 0);
            idx = zip_file_add(z, name.constData(), src, ZIP_FL_ENC_UTF_8);
            if (idx < 0) zip_source_free(src);
        }
        if (idx < 0) {
            zip_discard(z);
            return false;
        }
        if (m.stored) zip_set_file_compression(z, zip_uint64_t(idx), ZIP_CM_STORE, 0);
        if (!m.password.isEmpty() &&
            zip_file_set_encryption(z, zip_uint64_t(idx), ZIP_EM_AES_256, m.password.constData()) != 0) {
            zip_discard(z);
            return false;
        }
    }
    return zip_close(z) == 0;
}
