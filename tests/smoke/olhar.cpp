// The smoke tests' eyes: takes a picture of the whole X screen and answers questions about
// pictures, so a shell script can check what a person would see.
//
//   olhar captura FICHEIRO.png [x y w h]  the screen, or that rectangle of it
//   olhar destaque                       the platform's highlight colour, as #rrggbb
//   olhar conta FICHEIRO x y w h #rrggbb  pixels of exactly that colour inside the rectangle
//   olhar difere A B x y w h              pixels that differ between two pictures there
//   olhar copiado                        the text on the clipboard (what Ctrl+C copied)
#include <QClipboard>
#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

namespace {

int Uso() {
    std::fprintf(stderr, "uso: olhar captura F [x y w h] | destaque | conta F x y w h #cor | "
                         "difere A B x y w h | copiado\n");
    return 2;
}

QRect Rect(char** AArgs) {
    return {QString(AArgs[0]).toInt(), QString(AArgs[1]).toInt(), QString(AArgs[2]).toInt(),
            QString(AArgs[3]).toInt()};
}

QImage Ler(const char* ACaminho) {
    QImage imagem(QString::fromLocal8Bit(ACaminho));
    if (imagem.isNull()) std::fprintf(stderr, "olhar: não consegui ler %s\n", ACaminho);
    return imagem.convertToFormat(QImage::Format_RGB32);
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication aplicacao(argc, argv);
    if (argc < 2) return Uso();
    const QString comando = QString::fromLatin1(argv[1]);
    if (comando == "captura" && (argc == 3 || argc == 7)) {
        QPixmap ecra = QGuiApplication::primaryScreen()->grabWindow(0);
        if (argc == 7) ecra = ecra.copy(Rect(argv + 3));
        return ecra.save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
    }
    if (comando == "destaque" && argc == 2) {
        std::printf(
            "%s\n",
            qPrintable(
                QGuiApplication::palette().color(QPalette::Active, QPalette::Highlight).name()));
        return 0;
    }
    if (comando == "conta" && argc == 8) {
        const QImage imagem = Ler(argv[2]);
        if (imagem.isNull()) return 1;
        const QRect zona = Rect(argv + 3).intersected(imagem.rect());
        const QRgb cor = QColor(QString::fromLatin1(argv[7])).rgb();
        long n = 0;
        for (int y = zona.top(); y <= zona.bottom(); ++y)
            for (int x = zona.left(); x <= zona.right(); ++x)
                n += imagem.pixel(x, y) == cor;
        std::printf("%ld\n", n);
        return 0;
    }
    if (comando == "difere" && argc == 8) {
        const QImage a = Ler(argv[2]), b = Ler(argv[3]);
        if (a.isNull() || b.isNull() || a.size() != b.size()) return 1;
        const QRect zona = Rect(argv + 4).intersected(a.rect());
        long n = 0;
        for (int y = zona.top(); y <= zona.bottom(); ++y)
            for (int x = zona.left(); x <= zona.right(); ++x)
                n += a.pixel(x, y) != b.pixel(x, y);
        std::printf("%ld\n", n);
        return 0;
    }
    if (comando == "copiado" && argc == 2) {
        std::printf("%s\n", qPrintable(QGuiApplication::clipboard()->text()));
        return 0;
    }
    return Uso();
}
