// What QMimeDatabase (the shared-MIME-info data under XDG_DATA_DIRS) makes of a file:
//   tipo_mime nome|conteudo|ambos FICHEIRO
// prints the type's name, its comment and its icon name, one per line.
#include <QCoreApplication>
#include <QMimeDatabase>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication aplicacao(argc, argv);
    const QStringList argumentos = QCoreApplication::arguments();
    if (argumentos.size() != 3) {
        QTextStream(stderr) << "uso: tipo_mime nome|conteudo|ambos FICHEIRO\n";
        return 2;
    }
    const QString& modo = argumentos[1];
    const QMimeDatabase::MatchMode correspondencia = modo == "nome" ? QMimeDatabase::MatchExtension
                                                     : modo == "conteudo"
                                                         ? QMimeDatabase::MatchContent
                                                         : QMimeDatabase::MatchDefault;
    const QMimeType tipo = QMimeDatabase().mimeTypeForFile(argumentos[2], correspondencia);
    QTextStream(stdout) << tipo.name() << '\n' << tipo.comment() << '\n' << tipo.iconName() << '\n';
    return 0;
}
