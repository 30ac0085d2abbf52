// Writes the application icon as files, from the very drawing the window shows:
//   somado-icones FOLDER NAME SIZE...      ->  FOLDER/<SIZE>x<SIZE>/apps/NAME.png (hicolor theme)
//   somado-icones --ico FILE.ico SIZE...   ->  one Windows icon holding every SIZE
// The build runs it, so the icon in the menu or in Explorer is the one in the title bar.
#include "ui/Arranque.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QPixmap>
#include <QSaveFile>
#include <QTextStream>

#include <optional>
#include <utility>
#include <vector>

namespace {

int Falhar(const QString& AMensagem) {
    QTextStream(stderr) << "somado-icones: " << AMensagem << '\n';
    return 1;
}

// The icon's image of exactly that side, or nothing (with the reason in AErro).
std::optional<QPixmap> ImagemDoLado(const QIcon& AIcone, const QString& ALado, QString& AErro) {
    bool numero = false;
    const int lado = ALado.toInt(&numero);
    if (!numero || lado <= 0 || lado > 256) {
        AErro = QStringLiteral("lado inválido: %1").arg(ALado);
        return std::nullopt;
    }
    // A size the window icon lacks would be a scaled copy of another: refused.
    if (!AIcone.availableSizes().contains(QSize(lado, lado))) {
        AErro = QStringLiteral("o ícone da aplicação não tem %1 × %1").arg(lado);
        return std::nullopt;
    }
    QPixmap imagem = AIcone.pixmap(QSize(lado, lado));
    if (imagem.size() != QSize(lado, lado)) {
        AErro = QStringLiteral("imagem de %1 × %1 com outro tamanho").arg(lado);
        return std::nullopt;
    }
    return imagem;
}

void EscreverLE(QByteArray& ADestino, quint32 AValor, int ABytes) {
    for (int i = 0; i < ABytes; ++i)
        ADestino.append(static_cast<char>((AValor >> (8 * i)) & 0xFF));
}

// An .ico file whose images are stored as PNG, which Windows reads since Vista: a 6-byte
// header, one 16-byte entry per image, then the images.
QByteArray FicheiroIco(const std::vector<std::pair<int, QByteArray>>& AImagens) {
    QByteArray ico;
    EscreverLE(ico, 0, 2); // reserved
    EscreverLE(ico, 1, 2); // type: icon
    EscreverLE(ico, static_cast<quint32>(AImagens.size()), 2);
    quint32 posicao = 6 + 16 * static_cast<quint32>(AImagens.size());
    for (const auto& [lado, png] : AImagens) {
        EscreverLE(ico, lado >= 256 ? 0 : lado, 1); // width, 0 meaning 256
        EscreverLE(ico, lado >= 256 ? 0 : lado, 1); // height
        EscreverLE(ico, 0, 1);                      // no palette
        EscreverLE(ico, 0, 1);                      // reserved
        EscreverLE(ico, 1, 2);                      // colour planes
        EscreverLE(ico, 32, 2);                     // bits per pixel
        EscreverLE(ico, static_cast<quint32>(png.size()), 4);
        EscreverLE(ico, posicao, 4);
        posicao += static_cast<quint32>(png.size());
    }
    for (const auto& imagem : AImagens)
        ico.append(imagem.second);
    return ico;
}

int EscreverIco(const QIcon& AIcone, const QString& AFicheiro, const QStringList& ALados) {
    std::vector<std::pair<int, QByteArray>> imagens;
    for (const QString& lado : ALados) {
        QString erro;
        const std::optional<QPixmap> imagem = ImagemDoLado(AIcone, lado, erro);
        if (!imagem) return Falhar(erro);
        QByteArray png;
        QBuffer saida(&png);
        saida.open(QIODevice::WriteOnly);
        if (!imagem->toImage().convertToFormat(QImage::Format_ARGB32).save(&saida, "PNG"))
            return Falhar(QStringLiteral("não foi possível codificar %1 × %1").arg(lado));
        imagens.emplace_back(imagem->width(), png);
    }
    QDir().mkpath(QFileInfo(AFicheiro).absolutePath());
    QSaveFile ficheiro(AFicheiro);
    if (!ficheiro.open(QIODevice::WriteOnly) || ficheiro.write(FicheiroIco(imagens)) < 0 ||
        !ficheiro.commit())
        return Falhar(QStringLiteral("não foi possível escrever %1").arg(AFicheiro));
    return 0;
}

int EscreverTemaHicolor(const QIcon& AIcone, const QString& APasta, const QString& ANome,
                        const QStringList& ALados) {
    for (const QString& lado : ALados) {
        QString erro;
        const std::optional<QPixmap> imagem = ImagemDoLado(AIcone, lado, erro);
        if (!imagem) return Falhar(erro);
        const QString destino = QStringLiteral("%1/%2x%2/apps").arg(APasta, lado);
        if (!QDir().mkpath(destino))
            return Falhar(QStringLiteral("não foi possível criar %1").arg(destino));
        const QString ficheiro = QStringLiteral("%1/%2.png").arg(destino, ANome);
        if (!imagem->save(ficheiro, "PNG"))
            return Falhar(QStringLiteral("não foi possível escrever %1").arg(ficheiro));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QApplication aplicacao(argc, argv);
    const QStringList argumentos = QApplication::arguments();
    if (argumentos.size() < 4)
        return Falhar(QStringLiteral("uso: somado-icones PASTA NOME LADO... | "
                                     "somado-icones --ico FICHEIRO.ico LADO..."));

    // The icon is drawn with the fonts the program maps at start-up.
    PrepararFontes();
    const QIcon icone = IconeDaAplicacao();
    const QStringList lados = argumentos.mid(3);
    if (argumentos[1] == QStringLiteral("--ico")) return EscreverIco(icone, argumentos[2], lados);
    return EscreverTemaHicolor(icone, argumentos[1], argumentos[2], lados);
}
