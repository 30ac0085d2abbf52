// The game in play, kept on disk while it has unsaved moves, so that a program that is killed
// (a logout, a shutdown, a crash, kill) loses none of them.
//
// Each running program keeps its game in a file of its own, "<session>.smd", in a folder of
// the user's data, beside a lock file "<session>.lock" that it holds while it runs. A game file
// whose lock no running program holds was left by a session that did not end cleanly: the
// next start offers it back. Two programs at once never see each other's game.
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QLockFile;

class TRecuperacao {
public:
    // APasta: where the games are kept; made when the first game is written.
    explicit TRecuperacao(QString APasta);
    // The end of the session: its game goes with it, unless Manter asked to keep it.
    ~TRecuperacao();
    TRecuperacao(const TRecuperacao&) = delete;
    TRecuperacao& operator=(const TRecuperacao&) = delete;

    // "recuperacao" in the user's data folder for this program; empty when the system names
    // no such folder. The application's name must be set first.
    static QString PastaPredefinida();

    // Replaces this session's kept game with ATexto, written safely; raises ESomadoError,
    // in Portuguese, when it cannot (the previous copy then stays whole).
    void Guardar(const QByteArray& ATexto);
    // Nothing left to keep: the game was saved, or its moves given up.
    void Descartar();
    // Whether the game stays on disk when this session ends: true when the program is ended
    // from outside (a signal, the desktop session closing) rather than by the player.
    void Manter(bool AManter) { FManter = AManter; }
    bool TemJogo() const { return FTemJogo; }
    const QString& Ficheiro() const { return FFicheiro; }

    // The most recent game left by a session that did not end cleanly, taken over by this one
    // (no other program will take it meanwhile): its file, or empty when there is none.
    QString TomarAbandonado();
    // The game taken is done with: the player recovered or refused it. Its file goes.
    void EsquecerAbandonado();
    // The game taken could not be read: its file is put aside under another name (the
    // returned one; empty when even that failed), never offered again.
    QString PorDeParteAbandonado();
    // The game taken stays for a later start (the question was dismissed unanswered).
    void LargarAbandonado();

private:
    void Bloquear();

    QString FPasta;
    QString FFicheiro;
    std::unique_ptr<QLockFile> FBloqueio;
    bool FTemJogo = false;
    bool FManter = false;
    QString FAbandonado;
    std::unique_ptr<QLockFile> FBloqueioAbandonado;
};
