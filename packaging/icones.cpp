// Writes the application icon into a hicolor icon theme folder, one PNG per size:
//   somado-icones FOLDER NAME SIZE...  ->  FOLDER/<SIZE>x<SIZE>/apps/NAME.png
// The build runs it, so the icon in the menu is the very one the window shows.
#include "ui/Arranque.h"

#include <QDir>
#include <QIcon>
#include <QPixmap>
#include <QTextStream>

#include <cstdio>

namespace {

int Falhar(const QString& AMensagem) {
    QTextStream(stderr) << "somado-icones: " << AMensagem << '\n';
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    QApplication aplicacao(argc, argv);
    const QStringList argumentos = QApplication::arguments();
    if (argumentos.size() < 4)
        return Falhar(QStringLiteral("uso: somado-icones PASTA NOME LADO..."));
    const QString pasta = argumentos[1];
    const QString nome = argumentos[2];

    // The icon is drawn with the fonts the program maps at start-up.
    PrepararFontes();
    const QIcon icone = IconeDaAplicacao();
    for (qsizetype i = 3; i < argumentos.size(); ++i) {
        bool numero = false;
        const int lado = argumentos[i].toInt(&numero);
        if (!numero || lado <= 0)
            return Falhar(QStringLiteral("lado inválido: %1").arg(argumentos[i]));
        // A size the window icon lacks would be a scaled copy of another: refused.
        if (!icone.availableSizes().contains(QSize(lado, lado)))
            return Falhar(QStringLiteral("o ícone da aplicação não tem %1 × %1").arg(lado));
        const QPixmap imagem = icone.pixmap(QSize(lado, lado));
        if (imagem.size() != QSize(lado, lado))
            return Falhar(QStringLiteral("imagem de %1 × %1 com outro tamanho").arg(lado));
        const QString destino = QStringLiteral("%1/%2x%2/apps").arg(pasta).arg(lado);
        if (!QDir().mkpath(destino))
            return Falhar(QStringLiteral("não foi possível criar %1").arg(destino));
        const QString ficheiro = QStringLiteral("%1/%2.png").arg(destino, nome);
        if (!imagem.save(ficheiro, "PNG"))
            return Falhar(QStringLiteral("não foi possível escrever %1").arg(ficheiro));
    }
    return 0;
}
