#include <QTest>
class tst_catalogue_forms : public QObject {
    Q_OBJECT
};
QTEST_MAIN(tst_catalogue_forms)
#include "tst_catalogue_forms.moc"
