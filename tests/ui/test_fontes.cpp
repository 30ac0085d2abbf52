#include "render/UnitSomadoDesenho.h"

#include <QFont>
#include <QFontDatabase>

#include <gtest/gtest.h>

namespace {

// Leaves Qt's substitution table as it was for the tests that follow.
class uiFontes : public ::testing::Test {
protected:
    void TearDown() override {
        for (const QString& nome : FUsadas)
            QFont::removeSubstitutions(nome);
    }
    QString Usar(const QString& ANome) {
        FUsadas << ANome;
        return ANome;
    }

private:
    QStringList FUsadas;
};

} // namespace

// On Windows "Segoe UI" and "Consolas" are installed and must be drawn as themselves.
TEST_F(uiFontes, FamiliaInstaladaNaoESubstituida) {
    const QString instalada = Usar(QStringLiteral("DejaVu Sans"));
    ASSERT_TRUE(QFontDatabase::families().contains(instalada));
    SubstituirFonteEmFalta(instalada.toUpper(), {QStringLiteral("Liberation Mono")});
    SubstituirFonteEmFalta(instalada, {QStringLiteral("Liberation Mono")});
    EXPECT_TRUE(QFont::substitutes(instalada).isEmpty());
}

TEST_F(uiFontes, FamiliaEmFaltaRecebeOsSubstitutos) {
    const QString emFalta = Usar(QStringLiteral("Família Que Não Existe"));
    ASSERT_FALSE(QFontDatabase::families().contains(emFalta, Qt::CaseInsensitive));
    const QStringList substitutos{QStringLiteral("DejaVu Sans Mono"),
                                  QStringLiteral("Liberation Mono")};
    SubstituirFonteEmFalta(emFalta, substitutos);
    // Qt keeps family names in lower case.
    EXPECT_EQ(QFont::substitutes(emFalta).join(u'|'), substitutos.join(u'|').toLower());
}
