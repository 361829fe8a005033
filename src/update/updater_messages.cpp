#include "update/updater_messages.h"

#include <atomic>
#include <cctype>

namespace {

using Messages = const char* const[kUpdaterMessages];

// In every language the placeholders stand in the order of the English texts.
const Messages kTable[kUpdaterLanguages] = {
    // wlEnglish
    {"Application update wizard", "Downloading files...", "Upgrade completed!", "Current file", "All files",
     "Downloading file from", "File size: %.1f Kb", "Transfer rate: %.1f Kb/s",
     "Estimated time left: %d:%.2d:%.2d", "Downloading %d of %d",
     "The update of %s has been successfully completed.\r\rPress the OK button to restart program.",
     "Enter password", "User Name", "Password", "&Yes", "&No", "&OK", "&Cancel", "&Next >", "&Later", "Warning",
     "Error", "Preparing. . .",
     "A newer version of %s was released.\n%s\nDo you want to update your version with the latest one?",
     "Newer version not found. You actually are\rusing most recent version of this program.",
     "File which contains upgrade information was not found on developer's site.",
     "Host %s unreachable.\r\rPlease check your Internet connection and\rtry to upgrade this software again later.",
     "The update is not completed.\rWould you like to abort upgrading?",
     "File %s not found or inaccessible.\r\rTry to skip this file and continue upgrade?",
     "Access to remote file \"%s\" is password protected.\n\nPlease enter your username and password (received "
     "after registration) to continue software upgrade.",
     "Connection with remote server lost.\r\rPlease restore connection and try to\rupgrade this software again "
     "later."},
    // wlRussian
    {"Мастер обновления программы", "Загрузка файлов...", "Обновление завершено!", "Текущий файл", "Все файлы",
     "Загрузка файла с", "Размер файла: %.1f Кб", "Скорость передачи: %.1f Кб/с",
     "Осталось времени: %d:%.2d:%.2d", "Загрузка %d из %d",
     "Обновление %s успешно завершено.\r\rНажмите кнопку OK, чтобы перезапустить программу.",
     "Введите пароль", "Имя пользователя", "Пароль", "&Да", "&Нет", "&OK", "&Отмена", "&Далее >", "&Позже",
     "Предупреждение", "Ошибка", "Подготовка. . .",
     "Вышла новая версия %s.\n%s\nХотите обновить вашу версию до последней?",
     "Новая версия не найдена. Вы уже\rиспользуете последнюю версию этой программы.",
     "Файл со сведениями об обновлении не найден на сайте разработчика.",
     "Узел %s недоступен.\r\rПроверьте подключение к Интернету и\rповторите обновление позже.",
     "Обновление не завершено.\rПрервать обновление?",
     "Файл %s не найден или недоступен.\r\rПропустить этот файл и продолжить обновление?",
     "Доступ к файлу \"%s\" защищён паролем.\n\nВведите имя пользователя и пароль (полученные при регистрации), "
     "чтобы продолжить обновление.",
     "Связь с сервером потеряна.\r\rВосстановите подключение и\rповторите обновление позже."},
    // wlGerman
    {"Assistent zur Programmaktualisierung", "Dateien werden heruntergeladen...", "Aktualisierung abgeschlossen!",
     "Aktuelle Datei", "Alle Dateien", "Datei wird geladen von", "Dateigröße: %.1f Kb",
     "Übertragungsrate: %.1f Kb/s", "Verbleibende Zeit: %d:%.2d:%.2d", "Datei %d von %d",
     "Die Aktualisierung von %s wurde erfolgreich abgeschlossen.\r\rKlicken Sie auf OK, um das Programm neu "
     "zu starten.",
     "Kennwort eingeben", "Benutzername", "Kennwort", "&Ja", "&Nein", "&OK", "&Abbrechen", "&Weiter >",
     "&Später", "Warnung", "Fehler", "Vorbereitung. . .",
     "Eine neuere Version von %s ist erschienen.\n%s\nMöchten Sie Ihre Version auf die neueste aktualisieren?",
     "Keine neuere Version gefunden. Sie verwenden\rbereits die neueste Version dieses Programms.",
     "Die Datei mit den Aktualisierungsinformationen wurde auf der Seite des Herstellers nicht gefunden.",
     "Host %s nicht erreichbar.\r\rBitte prüfen Sie Ihre Internetverbindung und\rversuchen Sie die "
     "Aktualisierung später erneut.",
     "Die Aktualisierung ist nicht abgeschlossen.\rMöchten Sie die Aktualisierung abbrechen?",
     "Datei %s nicht gefunden oder nicht zugänglich.\r\rDiese Datei überspringen und die Aktualisierung "
     "fortsetzen?",
     "Der Zugriff auf die Datei \"%s\" ist kennwortgeschützt.\n\nBitte geben Sie Benutzername und Kennwort (nach "
     "der Registrierung erhalten) ein, um die Aktualisierung fortzusetzen.",
     "Verbindung zum Server verloren.\r\rBitte stellen Sie die Verbindung wieder her und\rversuchen Sie die "
     "Aktualisierung später erneut."},
    // wlFrench
    {"Assistant de mise à jour", "Téléchargement des fichiers...", "Mise à jour terminée !", "Fichier en cours",
     "Tous les fichiers", "Téléchargement depuis", "Taille du fichier : %.1f Ko", "Débit : %.1f Ko/s",
     "Temps restant estimé : %d:%.2d:%.2d", "Téléchargement %d sur %d",
     "La mise à jour de %s s'est terminée avec succès.\r\rCliquez sur OK pour redémarrer le programme.",
     "Mot de passe", "Nom d'utilisateur", "Mot de passe", "&Oui", "&Non", "&OK", "&Annuler", "&Suivant >",
     "&Plus tard", "Avertissement", "Erreur", "Préparation. . .",
     "Une nouvelle version de %s est disponible.\n%s\nVoulez-vous mettre à jour votre version ?",
     "Aucune version plus récente. Vous utilisez\rdéjà la dernière version de ce programme.",
     "Le fichier d'informations de mise à jour est introuvable sur le site de l'éditeur.",
     "L'hôte %s est injoignable.\r\rVérifiez votre connexion Internet et\rréessayez la mise à jour plus tard.",
     "La mise à jour n'est pas terminée.\rVoulez-vous l'abandonner ?",
     "Fichier %s introuvable ou inaccessible.\r\rIgnorer ce fichier et continuer la mise à jour ?",
     "L'accès au fichier distant \"%s\" est protégé par un mot de passe.\n\nEntrez votre nom d'utilisateur et "
     "votre mot de passe (reçus lors de l'enregistrement) pour continuer la mise à jour.",
     "Connexion au serveur perdue.\r\rRétablissez la connexion et\rréessayez la mise à jour plus tard."},
    // wlSpanish
    {"Asistente de actualización", "Descargando archivos...", "¡Actualización completada!", "Archivo actual",
     "Todos los archivos", "Descargando archivo desde", "Tamaño del archivo: %.1f Kb",
     "Velocidad de transferencia: %.1f Kb/s", "Tiempo restante estimado: %d:%.2d:%.2d", "Descargando %d de %d",
     "La actualización de %s se ha completado correctamente.\r\rPulse Aceptar para reiniciar el programa.",
     "Introduzca la contraseña", "Nombre de usuario", "Contraseña", "&Sí", "&No", "&Aceptar", "&Cancelar",
     "&Siguiente >", "&Más tarde", "Advertencia", "Error", "Preparando. . .",
     "Se ha publicado una nueva versión de %s.\n%s\n¿Desea actualizar su versión a la más reciente?",
     "No se encontró una versión más reciente. Ya está\rusando la última versión de este programa.",
     "No se encontró en el sitio del desarrollador el archivo con la información de actualización.",
     "No se puede acceder al servidor %s.\r\rCompruebe su conexión a Internet e\rintente actualizar más tarde.",
     "La actualización no ha terminado.\r¿Desea cancelarla?",
     "El archivo %s no existe o no es accesible.\r\r¿Omitir este archivo y continuar la actualización?",
     "El acceso al archivo remoto \"%s\" está protegido por contraseña.\n\nIntroduzca su usuario y contraseña "
     "(recibidos al registrarse) para continuar la actualización.",
     "Se perdió la conexión con el servidor.\r\rRestablezca la conexión e\rintente actualizar más tarde."},
    // wlPortuguese
    {"Assistente de actualização", "A transferir ficheiros...", "Actualização concluída!", "Ficheiro actual",
     "Todos os ficheiros", "A transferir ficheiro de", "Tamanho do ficheiro: %.1f Kb",
     "Taxa de transferência: %.1f Kb/s", "Tempo restante estimado: %d:%.2d:%.2d", "A transferir %d de %d",
     "A actualização de %s foi concluída com êxito.\r\rPrima OK para reiniciar o programa.",
     "Introduza a palavra-passe", "Nome de utilizador", "Palavra-passe", "&Sim", "&Não", "&OK", "&Cancelar",
     "&Seguinte >", "&Mais tarde", "Aviso", "Erro", "A preparar. . .",
     "Foi publicada uma nova versão de %s.\n%s\nDeseja actualizar a sua versão para a mais recente?",
     "Não foi encontrada versão mais recente. Já está\ra utilizar a versão mais recente deste programa.",
     "O ficheiro com a informação de actualização não foi encontrado no sítio do programador.",
     "O servidor %s está inacessível.\r\rVerifique a sua ligação à Internet e\rtente actualizar mais tarde.",
     "A actualização não está concluída.\rDeseja cancelá-la?",
     "O ficheiro %s não existe ou está inacessível.\r\rIgnorar este ficheiro e continuar a actualização?",
     "O acesso ao ficheiro remoto \"%s\" está protegido por palavra-passe.\n\nIntroduza o seu nome de utilizador "
     "e palavra-passe (recebidos após o registo) para continuar a actualização.",
     "A ligação ao servidor perdeu-se.\r\rRestabeleça a ligação e\rtente actualizar mais tarde."},
    // wlPortugueseBrazilian
    {"Assistente de atualização", "Baixando arquivos...", "Atualização concluída!", "Arquivo atual",
     "Todos os arquivos", "Baixando arquivo de", "Tamanho do arquivo: %.1f Kb",
     "Taxa de transferência: %.1f Kb/s", "Tempo restante estimado: %d:%.2d:%.2d", "Baixando %d de %d",
     "A atualização de %s foi concluída com sucesso.\r\rClique em OK para reiniciar o programa.",
     "Digite a senha", "Nome de usuário", "Senha", "&Sim", "&Não", "&OK", "&Cancelar", "&Avançar >",
     "&Depois", "Aviso", "Erro", "Preparando. . .",
     "Uma nova versão de %s foi lançada.\n%s\nDeseja atualizar sua versão para a mais recente?",
     "Nenhuma versão mais nova encontrada. Você já está\rusando a versão mais recente deste programa.",
     "O arquivo com as informações de atualização não foi encontrado no site do desenvolvedor.",
     "O servidor %s está inacessível.\r\rVerifique sua conexão com a Internet e\rtente atualizar mais tarde.",
     "A atualização não foi concluída.\rDeseja cancelar a atualização?",
     "Arquivo %s não encontrado ou inacessível.\r\rPular este arquivo e continuar a atualização?",
     "O acesso ao arquivo remoto \"%s\" é protegido por senha.\n\nDigite seu nome de usuário e senha (recebidos "
     "após o registro) para continuar a atualização.",
     "A conexão com o servidor foi perdida.\r\rRestabeleça a conexão e\rtente atualizar mais tarde."},
    // wlItalian
    {"Procedura di aggiornamento", "Scaricamento dei file...", "Aggiornamento completato!", "File corrente",
     "Tutti i file", "Scaricamento del file da", "Dimensione del file: %.1f Kb",
     "Velocità di trasferimento: %.1f Kb/s", "Tempo residuo stimato: %d:%.2d:%.2d", "Scaricamento %d di %d",
     "L'aggiornamento di %s è stato completato.\r\rPremere OK per riavviare il programma.",
     "Inserire la password", "Nome utente", "Password", "&Sì", "&No", "&OK", "&Annulla", "&Avanti >",
     "&Più tardi", "Attenzione", "Errore", "Preparazione. . .",
     "È disponibile una nuova versione di %s.\n%s\nAggiornare la versione in uso all'ultima?",
     "Nessuna versione più recente. Si sta già\rusando l'ultima versione di questo programma.",
     "Il file con le informazioni di aggiornamento non è stato trovato sul sito dello sviluppatore.",
     "Host %s irraggiungibile.\r\rControllare la connessione a Internet e\rriprovare l'aggiornamento più tardi.",
     "L'aggiornamento non è completato.\rInterrompere l'aggiornamento?",
     "File %s non trovato o non accessibile.\r\rSaltare questo file e continuare l'aggiornamento?",
     "L'accesso al file remoto \"%s\" è protetto da password.\n\nInserire nome utente e password (ricevuti con "
     "la registrazione) per continuare l'aggiornamento.",
     "Connessione con il server persa.\r\rRipristinare la connessione e\rriprovare l'aggiornamento più tardi."},
    // wlDutch
    {"Wizard voor programma-update", "Bestanden downloaden...", "Update voltooid!", "Huidig bestand",
     "Alle bestanden", "Bestand downloaden van", "Bestandsgrootte: %.1f Kb", "Overdrachtssnelheid: %.1f Kb/s",
     "Geschatte resterende tijd: %d:%.2d:%.2d", "Downloaden %d van %d",
     "De update van %s is voltooid.\r\rKlik op OK om het programma opnieuw te starten.",
     "Wachtwoord invoeren", "Gebruikersnaam", "Wachtwoord", "&Ja", "&Nee", "&OK", "&Annuleren", "&Volgende >",
     "&Later", "Waarschuwing", "Fout", "Voorbereiden. . .",
     "Er is een nieuwere versie van %s verschenen.\n%s\nWilt u uw versie bijwerken naar de nieuwste?",
     "Geen nieuwere versie gevonden. U gebruikt\ral de nieuwste versie van dit programma.",
     "Het bestand met update-informatie is niet gevonden op de site van de ontwikkelaar.",
     "Host %s onbereikbaar.\r\rControleer uw internetverbinding en\rprobeer de update later opnieuw.",
     "De update is niet voltooid.\rWilt u het bijwerken afbreken?",
     "Bestand %s niet gevonden of niet toegankelijk.\r\rDit bestand overslaan en de update voortzetten?",
     "Toegang tot het bestand \"%s\" is met een wachtwoord beveiligd.\n\nVoer uw gebruikersnaam en wachtwoord "
     "(ontvangen na registratie) in om de update voort te zetten.",
     "Verbinding met de server verbroken.\r\rHerstel de verbinding en\rprobeer de update later opnieuw."},
    // wlDanish
    {"Guide til programopdatering", "Henter filer...", "Opdateringen er fuldført!", "Aktuel fil", "Alle filer",
     "Henter fil fra", "Filstørrelse: %.1f Kb", "Overførselshastighed: %.1f Kb/s",
     "Anslået resterende tid: %d:%.2d:%.2d", "Henter %d af %d",
     "Opdateringen af %s er fuldført.\r\rTryk på OK for at genstarte programmet.",
     "Angiv adgangskode", "Brugernavn", "Adgangskode", "&Ja", "&Nej", "&OK", "&Annuller", "&Næste >",
     "&Senere", "Advarsel", "Fejl", "Forbereder. . .",
     "En nyere version af %s er udgivet.\n%s\nVil du opdatere din version til den nyeste?",
     "Ingen nyere version fundet. Du bruger\rallerede den nyeste version af programmet.",
     "Filen med opdateringsoplysninger blev ikke fundet på udviklerens websted.",
     "Værten %s kan ikke nås.\r\rKontrollér din internetforbindelse og\rprøv at opdatere igen senere.",
     "Opdateringen er ikke fuldført.\rVil du afbryde opdateringen?",
     "Filen %s blev ikke fundet eller er utilgængelig.\r\rSpring filen over og fortsæt opdateringen?",
     "Adgang til filen \"%s\" er beskyttet med adgangskode.\n\nAngiv brugernavn og adgangskode (modtaget ved "
     "registrering) for at fortsætte opdateringen.",
     "Forbindelsen til serveren er afbrudt.\r\rGenopret forbindelsen og\rprøv at opdatere igen senere."},
    // wlSwedish
    {"Guide för programuppdatering", "Hämtar filer...", "Uppdateringen är klar!", "Aktuell fil", "Alla filer",
     "Hämtar fil från", "Filstorlek: %.1f Kb", "Överföringshastighet: %.1f Kb/s",
     "Beräknad återstående tid: %d:%.2d:%.2d", "Hämtar %d av %d",
     "Uppdateringen av %s är klar.\r\rTryck på OK för att starta om programmet.", "Ange lösenord",
     "Användarnamn", "Lösenord", "&Ja", "&Nej", "&OK", "&Avbryt", "&Nästa >", "&Senare", "Varning", "Fel",
     "Förbereder. . .",
     "En nyare version av %s har släppts.\n%s\nVill du uppdatera din version till den senaste?",
     "Ingen nyare version hittades. Du använder\rredan den senaste versionen av programmet.",
     "Filen med uppdateringsinformation hittades inte på utvecklarens webbplats.",
     "Värden %s kan inte nås.\r\rKontrollera din Internetanslutning och\rförsök uppdatera igen senare.",
     "Uppdateringen är inte klar.\rVill du avbryta uppdateringen?",
     "Filen %s hittades inte eller är otillgänglig.\r\rHoppa över filen och fortsätta uppdateringen?",
     "Åtkomst till filen \"%s\" är lösenordsskyddad.\n\nAnge användarnamn och lösenord (som du fick vid "
     "registreringen) för att fortsätta uppdateringen.",
     "Anslutningen till servern förlorades.\r\rÅterställ anslutningen och\rförsök uppdatera igen senare."},
    // wlFinnish
    {"Ohjelman päivitysavustaja", "Ladataan tiedostoja...", "Päivitys valmis!", "Nykyinen tiedosto",
     "Kaikki tiedostot", "Ladataan tiedostoa osoitteesta", "Tiedoston koko: %.1f Kt",
     "Siirtonopeus: %.1f Kt/s", "Arvioitu jäljellä oleva aika: %d:%.2d:%.2d", "Ladataan %d / %d",
     "Ohjelman %s päivitys on valmis.\r\rKäynnistä ohjelma uudelleen painamalla OK.", "Anna salasana",
     "Käyttäjänimi", "Salasana", "&Kyllä", "&Ei", "&OK", "&Peruuta", "&Seuraava >", "&Myöhemmin", "Varoitus",
     "Virhe", "Valmistellaan. . .",
     "Ohjelmasta %s on julkaistu uudempi versio.\n%s\nHaluatko päivittää versiosi uusimpaan?",
     "Uudempaa versiota ei löytynyt. Käytät jo\rtämän ohjelman uusinta versiota.",
     "Päivitystiedot sisältävää tiedostoa ei löytynyt kehittäjän sivustolta.",
     "Palvelinta %s ei tavoiteta.\r\rTarkista Internet-yhteys ja\ryritä päivitystä myöhemmin uudelleen.",
     "Päivitys ei ole valmis.\rHaluatko keskeyttää päivityksen?",
     "Tiedostoa %s ei löydy tai sitä ei voi käyttää.\r\rOhitetaanko tiedosto ja jatketaan päivitystä?",
     "Tiedosto \"%s\" on suojattu salasanalla.\n\nAnna käyttäjänimi ja salasana (saatu rekisteröinnin "
     "yhteydessä) jatkaaksesi päivitystä.",
     "Yhteys palvelimeen katkesi.\r\rPalauta yhteys ja\ryritä päivitystä myöhemmin uudelleen."},
    // wlEstonian
    {"Programmi uuendamise viisard", "Failide allalaadimine...", "Uuendamine lõpetatud!", "Praegune fail",
     "Kõik failid", "Faili allalaadimine aadressilt", "Faili suurus: %.1f Kb", "Edastuskiirus: %.1f Kb/s",
     "Hinnanguline järelejäänud aeg: %d:%.2d:%.2d", "Allalaadimine %d / %d",
     "Programmi %s uuendamine õnnestus.\r\rProgrammi taaskäivitamiseks vajutage OK.", "Sisestage parool",
     "Kasutajanimi", "Parool", "&Jah", "&Ei", "&OK", "&Loobu", "&Edasi >", "&Hiljem", "Hoiatus", "Viga",
     "Ettevalmistus. . .",
     "Ilmunud on programmi %s uuem versioon.\n%s\nKas soovite oma versiooni uusimaks uuendada?",
     "Uuemat versiooni ei leitud. Te juba\rkasutate selle programmi uusimat versiooni.",
     "Uuendusteabe faili ei leitud arendaja saidilt.",
     "Host %s ei ole kättesaadav.\r\rKontrollige Interneti-ühendust ja\rproovige hiljem uuesti.",
     "Uuendamine ei ole lõpetatud.\rKas soovite uuendamise katkestada?",
     "Faili %s ei leitud või see pole kättesaadav.\r\rKas jätta fail vahele ja jätkata uuendamist?",
     "Juurdepääs failile \"%s\" on parooliga kaitstud.\n\nUuendamise jätkamiseks sisestage kasutajanimi ja "
     "parool (saadud registreerimisel).",
     "Ühendus serveriga katkes.\r\rTaastage ühendus ja\rproovige hiljem uuesti."},
    // wlUkrainian
    {"Майстер оновлення програми", "Завантаження файлів...", "Оновлення завершено!", "Поточний файл",
     "Усі файли", "Завантаження файлу з", "Розмір файлу: %.1f Кб", "Швидкість передачі: %.1f Кб/с",
     "Залишилось часу: %d:%.2d:%.2d", "Завантаження %d з %d",
     "Оновлення %s успішно завершено.\r\rНатисніть OK, щоб перезапустити програму.", "Введіть пароль",
     "Ім'я користувача", "Пароль", "&Так", "&Ні", "&OK", "&Скасувати", "&Далі >", "&Пізніше", "Попередження",
     "Помилка", "Підготовка. . .",
     "Вийшла нова версія %s.\n%s\nБажаєте оновити вашу версію до останньої?",
     "Нову версію не знайдено. Ви вже\rвикористовуєте останню версію цієї програми.",
     "Файл із відомостями про оновлення не знайдено на сайті розробника.",
     "Вузол %s недоступний.\r\rПеревірте підключення до Інтернету і\rповторіть оновлення пізніше.",
     "Оновлення не завершено.\rПерервати оновлення?",
     "Файл %s не знайдено або він недоступний.\r\rПропустити цей файл і продовжити оновлення?",
     "Доступ до файлу \"%s\" захищено паролем.\n\nВведіть ім'я користувача і пароль (отримані під час "
     "реєстрації), щоб продовжити оновлення.",
     "Зв'язок із сервером втрачено.\r\rВідновіть підключення і\rповторіть оновлення пізніше."},
    // wlCzech
    {"Průvodce aktualizací programu", "Stahování souborů...", "Aktualizace dokončena!", "Aktuální soubor",
     "Všechny soubory", "Stahování souboru z", "Velikost souboru: %.1f Kb", "Přenosová rychlost: %.1f Kb/s",
     "Odhadovaný zbývající čas: %d:%.2d:%.2d", "Stahování %d z %d",
     "Aktualizace %s byla úspěšně dokončena.\r\rStiskněte OK pro restart programu.", "Zadejte heslo",
     "Uživatelské jméno", "Heslo", "&Ano", "&Ne", "&OK", "&Storno", "&Další >", "&Později", "Upozornění", "Chyba",
     "Příprava. . .",
     "Byla vydána novější verze %s.\n%s\nChcete aktualizovat svou verzi na nejnovější?",
     "Novější verze nebyla nalezena. Již\rpoužíváte nejnovější verzi tohoto programu.",
     "Soubor s informacemi o aktualizaci nebyl na webu vývojáře nalezen.",
     "Server %s je nedostupný.\r\rZkontrolujte připojení k Internetu a\rzkuste aktualizaci později.",
     "Aktualizace není dokončena.\rChcete aktualizaci přerušit?",
     "Soubor %s nebyl nalezen nebo je nedostupný.\r\rPřeskočit tento soubor a pokračovat v aktualizaci?",
     "Přístup ke vzdálenému souboru \"%s\" je chráněn heslem.\n\nZadejte uživatelské jméno a heslo (obdržené "
     "po registraci) pro pokračování aktualizace.",
     "Spojení se serverem bylo ztraceno.\r\rObnovte připojení a\rzkuste aktualizaci později."},
    // wlHungarian
    {"Programfrissítő varázsló", "Fájlok letöltése...", "A frissítés befejeződött!", "Aktuális fájl",
     "Összes fájl", "Fájl letöltése innen", "Fájlméret: %.1f Kb", "Átviteli sebesség: %.1f Kb/s",
     "Becsült hátralévő idő: %d:%.2d:%.2d", "Letöltés: %d / %d",
     "A(z) %s frissítése sikeresen befejeződött.\r\rA program újraindításához nyomja meg az OK gombot.",
     "Jelszó megadása", "Felhasználónév", "Jelszó", "&Igen", "&Nem", "&OK", "&Mégse", "&Tovább >", "&Később",
     "Figyelmeztetés", "Hiba", "Előkészítés. . .",
     "Megjelent a(z) %s újabb változata.\n%s\nSzeretné frissíteni a legújabb változatra?",
     "Nem található újabb változat. Ön már\ra program legújabb változatát használja.",
     "A frissítési adatokat tartalmazó fájl nem található a fejlesztő webhelyén.",
     "A(z) %s kiszolgáló nem érhető el.\r\rEllenőrizze az internetkapcsolatot, és\rpróbálja újra később.",
     "A frissítés nem fejeződött be.\rMegszakítja a frissítést?",
     "A(z) %s fájl nem található vagy nem érhető el.\r\rKihagyja ezt a fájlt, és folytatja a frissítést?",
     "A(z) \"%s\" távoli fájl jelszóval védett.\n\nA frissítés folytatásához adja meg a (regisztrációkor "
     "kapott) felhasználónevet és jelszót.",
     "Megszakadt a kapcsolat a kiszolgálóval.\r\rÁllítsa helyre a kapcsolatot, és\rpróbálja újra később."},
    // wlRomanian
    {"Asistent de actualizare", "Se descarcă fișierele...", "Actualizare încheiată!", "Fișierul curent",
     "Toate fișierele", "Se descarcă fișierul de la", "Dimensiune fișier: %.1f Kb",
     "Rată de transfer: %.1f Kb/s", "Timp rămas estimat: %d:%.2d:%.2d", "Se descarcă %d din %d",
     "Actualizarea %s s-a încheiat cu succes.\r\rApăsați OK pentru a reporni programul.", "Introduceți parola",
     "Nume utilizator", "Parolă", "&Da", "&Nu", "&OK", "&Anulare", "&Înainte >", "&Mai târziu", "Avertisment",
     "Eroare", "Pregătire. . .",
     "A apărut o versiune nouă a %s.\n%s\nDoriți să actualizați la cea mai recentă versiune?",
     "Nu s-a găsit o versiune mai nouă. Folosiți\rdeja cea mai recentă versiune a programului.",
     "Fișierul cu informațiile de actualizare nu a fost găsit pe site-ul producătorului.",
     "Gazda %s nu poate fi contactată.\r\rVerificați conexiunea la Internet și\rîncercați din nou mai târziu.",
     "Actualizarea nu s-a încheiat.\rDoriți să renunțați la actualizare?",
     "Fișierul %s nu a fost găsit sau nu este accesibil.\r\rSăriți peste acest fișier și continuați?",
     "Accesul la fișierul \"%s\" este protejat prin parolă.\n\nIntroduceți numele de utilizator și parola "
     "(primite la înregistrare) pentru a continua actualizarea.",
     "Conexiunea cu serverul s-a pierdut.\r\rRestabiliți conexiunea și\rîncercați din nou mai târziu."},
    // wlCatalan
    {"Assistent d'actualització", "S'estan baixant els fitxers...", "Actualització completada!",
     "Fitxer actual", "Tots els fitxers", "S'està baixant el fitxer de", "Mida del fitxer: %.1f Kb",
     "Velocitat de transferència: %.1f Kb/s", "Temps restant estimat: %d:%.2d:%.2d", "Baixant %d de %d",
     "L'actualització de %s s'ha completat correctament.\r\rPremeu D'acord per reiniciar el programa.",
     "Introduïu la contrasenya", "Nom d'usuari", "Contrasenya", "&Sí", "&No", "&D'acord", "&Cancel·la",
     "&Següent >", "&Més tard", "Avís", "Error", "Preparant. . .",
     "S'ha publicat una versió nova de %s.\n%s\nVoleu actualitzar la vostra versió a la més recent?",
     "No s'ha trobat cap versió més nova. Ja feu\rservir la versió més recent d'aquest programa.",
     "No s'ha trobat el fitxer amb la informació d'actualització al lloc del desenvolupador.",
     "No es pot accedir al servidor %s.\r\rComproveu la connexió a Internet i\rtorneu-ho a provar més tard.",
     "L'actualització no s'ha completat.\rVoleu cancel·lar-la?",
     "El fitxer %s no existeix o no és accessible.\r\rVoleu ometre'l i continuar l'actualització?",
     "L'accés al fitxer remot \"%s\" està protegit amb contrasenya.\n\nIntroduïu el nom d'usuari i la "
     "contrasenya (rebuts en registrar-vos) per continuar l'actualització.",
     "S'ha perdut la connexió amb el servidor.\r\rRestabliu la connexió i\rtorneu-ho a provar més tard."},
    // wlBasque
    {"Programa eguneratzeko morroia", "Fitxategiak deskargatzen...", "Eguneratzea osatu da!", "Uneko fitxategia",
     "Fitxategi guztiak", "Fitxategia deskargatzen hemendik", "Fitxategiaren tamaina: %.1f Kb",
     "Transferentzia-abiadura: %.1f Kb/s", "Geratzen den denbora: %d:%.2d:%.2d", "Deskargatzen %d / %d",
     "%s ondo eguneratu da.\r\rSakatu Ados programa berrabiarazteko.", "Idatzi pasahitza", "Erabiltzaile-izena",
     "Pasahitza", "&Bai", "&Ez", "&Ados", "&Utzi", "&Hurrengoa >", "&Geroago", "Abisua", "Errorea",
     "Prestatzen. . .",
     "%s programaren bertsio berriagoa argitaratu da.\n%s\nZure bertsioa azkenera eguneratu nahi duzu?",
     "Ez da bertsio berriagorik aurkitu. Dagoeneko\rprograma honen azken bertsioa erabiltzen ari zara.",
     "Eguneratze-informazioa duen fitxategia ez da aurkitu garatzailearen gunean.",
     "%s ostalaria ez dago eskuragarri.\r\rEgiaztatu Interneteko konexioa eta\rsaiatu berriro geroago.",
     "Eguneratzea ez da osatu.\rEguneratzea bertan behera utzi nahi duzu?",
     "%s fitxategia ez da aurkitu edo ez dago eskuragarri.\r\rFitxategi hau saltatu eta jarraitu?",
     "\"%s\" urruneko fitxategia pasahitzez babestuta dago.\n\nIdatzi erabiltzaile-izena eta pasahitza "
     "(erregistratzean jasoak) eguneratzen jarraitzeko.",
     "Zerbitzariarekiko konexioa galdu da.\r\rBerreskuratu konexioa eta\rsaiatu berriro geroago."},
    // wlAfrikaans
    {"Program-bywerkingsassistent", "Lêers word afgelaai...", "Bywerking voltooi!", "Huidige lêer", "Alle lêers",
     "Lêer word afgelaai van", "Lêergrootte: %.1f Kb", "Oordragspoed: %.1f Kb/s",
     "Geskatte oorblywende tyd: %d:%.2d:%.2d", "Laai %d van %d af",
     "Die bywerking van %s is suksesvol voltooi.\r\rDruk OK om die program weer te begin.", "Tik wagwoord",
     "Gebruikernaam", "Wagwoord", "&Ja", "&Nee", "&OK", "&Kanselleer", "&Volgende >", "&Later", "Waarskuwing",
     "Fout", "Berei voor. . .",
     "'n Nuwer weergawe van %s is vrygestel.\n%s\nWil u u weergawe na die nuutste bywerk?",
     "Geen nuwer weergawe gevind nie. U gebruik\rreeds die nuutste weergawe van hierdie program.",
     "Die lêer met bywerkingsinligting is nie op die ontwikkelaar se webwerf gevind nie.",
     "Gasheer %s is onbereikbaar.\r\rGaan u internetverbinding na en\rprobeer later weer.",
     "Die bywerking is nie voltooi nie.\rWil u die bywerking staak?",
     "Lêer %s nie gevind nie of ontoeganklik.\r\rSlaan hierdie lêer oor en gaan voort?",
     "Toegang tot die lêer \"%s\" is met 'n wagwoord beskerm.\n\nTik u gebruikernaam en wagwoord (ontvang na "
     "registrasie) om voort te gaan.",
     "Verbinding met die bediener is verloor.\r\rHerstel die verbinding en\rprobeer later weer."},
    // wlChineseTraditional
    {"應用程式更新精靈", "正在下載檔案...", "更新完成！", "目前檔案", "所有檔案", "正在下載檔案，來源",
     "檔案大小：%.1f Kb", "傳輸速率：%.1f Kb/s", "預計剩餘時間：%d:%.2d:%.2d", "正在下載第 %d 個，共 %d 個",
     "%s 已成功更新。\r\r請按「確定」重新啟動程式。", "輸入密碼", "使用者名稱", "密碼", "是(&Y)", "否(&N)",
     "確定(&O)", "取消(&C)", "下一步(&N) >", "稍後(&L)", "警告", "錯誤", "準備中. . .",
     "%s 已發佈新版本。\n%s\n要將您的版本更新為最新版本嗎？",
     "找不到更新的版本。您目前\r使用的已是本程式的最新版本。", "在開發者網站上找不到更新資訊檔案。",
     "無法連線到主機 %s。\r\r請檢查您的網際網路連線，\r稍後再嘗試更新本軟體。",
     "更新尚未完成。\r要中止更新嗎？", "找不到檔案 %s 或無法存取。\r\r要略過此檔案並繼續更新嗎？",
     "遠端檔案 \"%s\" 受密碼保護。\n\n請輸入您的使用者名稱和密碼（註冊後取得）以繼續更新軟體。",
     "與遠端伺服器的連線中斷。\r\r請恢復連線，\r稍後再嘗試更新本軟體。"},
    // wlChineseSimplified
    {"应用程序升级向导", "正在下载文件...", "升级完成！", "当前文件", "全部文件", "正在下载文件，来自",
     "文件大小：%.1f Kb", "传输速率：%.1f Kb/s", "预计剩余时间：%d:%.2d:%.2d", "正在下载第 %d 个，共 %d 个",
     "%s 已成功升级。\r\r请按“确定”按钮重新启动程序。", "输入密码", "用户名", "密码", "是(&Y)", "否(&N)",
     "确定(&O)", "取消(&C)", "下一步(&N) >", "以后(&L)", "警告", "错误", "准备中. . .",
     "%s 发布了新版本。\n%s\n是否将您的版本升级到最新版本？", "没有找到新版本。您正在\r使用本程序的最新版本。",
     "在开发者网站上没有找到升级信息文件。",
     "无法连接主机 %s。\r\r请检查您的互联网连接，\r稍后再尝试升级本软件。", "升级尚未完成。\r是否中止升级？",
     "文件 %s 不存在或无法访问。\r\r是否跳过此文件并继续升级？",
     "远程文件 \"%s\" 受密码保护。\n\n请输入您的用户名和密码（注册后获得）以继续升级软件。",
     "与远程服务器的连接已断开。\r\r请恢复连接，\r稍后再尝试升级本软件。"},
    // wlIndonesian
    {"Wisaya pembaruan aplikasi", "Mengunduh berkas...", "Pembaruan selesai!", "Berkas saat ini", "Semua berkas",
     "Mengunduh berkas dari", "Ukuran berkas: %.1f Kb", "Kecepatan transfer: %.1f Kb/s",
     "Perkiraan sisa waktu: %d:%.2d:%.2d", "Mengunduh %d dari %d",
     "Pembaruan %s berhasil diselesaikan.\r\rTekan tombol OK untuk memulai ulang program.",
     "Masukkan kata sandi", "Nama Pengguna", "Kata Sandi", "&Ya", "&Tidak", "&OK", "&Batal", "&Berikutnya >",
     "&Nanti", "Peringatan", "Kesalahan", "Menyiapkan. . .",
     "Versi terbaru %s telah dirilis.\n%s\nApakah Anda ingin memperbarui ke versi terbaru?",
     "Versi terbaru tidak ditemukan. Anda sudah\rmenggunakan versi terbaru program ini.",
     "Berkas berisi informasi pembaruan tidak ditemukan di situs pengembang.",
     "Host %s tidak dapat dijangkau.\r\rPeriksa sambungan Internet Anda dan\rcoba perbarui lagi nanti.",
     "Pembaruan belum selesai.\rApakah Anda ingin membatalkan pembaruan?",
     "Berkas %s tidak ditemukan atau tidak dapat diakses.\r\rLewati berkas ini dan lanjutkan pembaruan?",
     "Akses ke berkas \"%s\" dilindungi kata sandi.\n\nMasukkan nama pengguna dan kata sandi Anda (diterima "
     "setelah registrasi) untuk melanjutkan pembaruan.",
     "Sambungan ke server terputus.\r\rPulihkan sambungan dan\rcoba perbarui lagi nanti."},
    // wlMalay
    {"Wizard kemas kini aplikasi", "Memuat turun fail...", "Kemas kini selesai!", "Fail semasa", "Semua fail",
     "Memuat turun fail dari", "Saiz fail: %.1f Kb", "Kadar pemindahan: %.1f Kb/s",
     "Anggaran masa berbaki: %d:%.2d:%.2d", "Memuat turun %d daripada %d",
     "Kemas kini %s telah berjaya diselesaikan.\r\rTekan butang OK untuk memulakan semula program.",
     "Masukkan kata laluan", "Nama Pengguna", "Kata Laluan", "&Ya", "&Tidak", "&OK", "&Batal", "&Seterusnya >",
     "&Kemudian", "Amaran", "Ralat", "Menyediakan. . .",
     "Versi baharu %s telah dikeluarkan.\n%s\nAdakah anda mahu mengemas kini versi anda kepada yang terkini?",
     "Versi baharu tidak ditemui. Anda sudah\rmenggunakan versi terkini program ini.",
     "Fail yang mengandungi maklumat kemas kini tidak ditemui di laman pembangun.",
     "Hos %s tidak dapat dicapai.\r\rSila semak sambungan Internet anda dan\rcuba kemas kini semula kemudian.",
     "Kemas kini belum selesai.\rAdakah anda mahu membatalkan kemas kini?",
     "Fail %s tidak ditemui atau tidak boleh dicapai.\r\rLangkau fail ini dan teruskan kemas kini?",
     "Capaian ke fail \"%s\" dilindungi kata laluan.\n\nSila masukkan nama pengguna dan kata laluan anda "
     "(diterima selepas pendaftaran) untuk meneruskan kemas kini.",
     "Sambungan dengan pelayan terputus.\r\rSila pulihkan sambungan dan\rcuba kemas kini semula kemudian."},
    // wlIcelandic
    {"Uppfærsluálfur forrits", "Sæki skrár...", "Uppfærslu lokið!", "Núverandi skrá", "Allar skrár",
     "Sæki skrá frá", "Skráarstærð: %.1f Kb", "Flutningshraði: %.1f Kb/s", "Áætlaður tími eftir: %d:%.2d:%.2d",
     "Sæki %d af %d", "Uppfærslu %s er lokið.\r\rSmelltu á Í lagi til að endurræsa forritið.",
     "Sláðu inn lykilorð", "Notandanafn", "Lykilorð", "&Já", "&Nei", "&Í lagi", "&Hætta við", "&Áfram >",
     "&Síðar", "Viðvörun", "Villa", "Undirbý. . .",
     "Ný útgáfa af %s er komin út.\n%s\nViltu uppfæra útgáfuna þína í þá nýjustu?",
     "Engin nýrri útgáfa fannst. Þú notar\rnú þegar nýjustu útgáfu þessa forrits.",
     "Skráin með uppfærsluupplýsingum fannst ekki á vef framleiðandans.",
     "Ekki næst í þjóninn %s.\r\rAthugaðu nettenginguna og\rreyndu að uppfæra síðar.",
     "Uppfærslunni er ekki lokið.\rViltu hætta við uppfærsluna?",
     "Skráin %s fannst ekki eða er óaðgengileg.\r\rSleppa þessari skrá og halda uppfærslu áfram?",
     "Aðgangur að skránni \"%s\" er varinn með lykilorði.\n\nSláðu inn notandanafn og lykilorð (fengið við "
     "skráningu) til að halda uppfærslunni áfram.",
     "Tenging við þjóninn rofnaði.\r\rKomdu tengingunni á aftur og\rreyndu að uppfæra síðar."},
};

// The Windows primary language of each language value, in table order; the first match wins.
const std::uint16_t kPrimary[kUpdaterLanguages] = {0x09, 0x19, 0x07, 0x0C, 0x0A, 0x16, 0x16, 0x10, 0x13,
                                                   0x06, 0x1D, 0x0B, 0x25, 0x22, 0x05, 0x0E, 0x18, 0x03,
                                                   0x2D, 0x36, 0x04, 0x04, 0x21, 0x3E, 0x0F};

std::atomic<int> gLanguage{wlEnglish};

} // namespace

std::string UpdaterString(int number) {
    if (number == kUpdaterProductLabel)
        return "SelfUpdater";
    const int offset = number - 41000;
    if (offset < 0)
        return {};
    const int language = offset / 50, n = offset % 50;
    if (language >= kUpdaterLanguages || n >= kUpdaterMessages)
        return {};
    return kTable[language][n];
}

TupSelfUpdaterLanguage ResolveUpdaterLanguage(int value, std::uint16_t systemLanguageId) {
    if (value >= 1 && value <= kUpdaterLanguages)
        return static_cast<TupSelfUpdaterLanguage>(value);
    const unsigned primary = systemLanguageId & 0x3FF, sub = systemLanguageId >> 10;
    if (primary == 0x16)
        return sub == 1 ? wlPortugueseBrazilian : wlPortuguese;
    if (primary == 0x04)
        return sub == 2 ? wlChineseSimplified : wlChineseTraditional;
    for (int i = 0; i < kUpdaterLanguages; ++i)
        if (kPrimary[i] == primary)
            return static_cast<TupSelfUpdaterLanguage>(i + 1);
    return wlEnglish;
}

std::uint16_t LanguageIdOfLocale(const std::string& localeName) {
    // "ll_CC.charset@modifier": the language letters, then the country.
    std::string lang, country;
    std::size_t i = 0;
    while (i < localeName.size() && std::isalpha(static_cast<unsigned char>(localeName[i])))
        lang += static_cast<char>(std::tolower(static_cast<unsigned char>(localeName[i++])));
    if (i < localeName.size() && localeName[i] == '_')
        for (++i; i < localeName.size() && std::isalpha(static_cast<unsigned char>(localeName[i])); ++i)
            country += static_cast<char>(std::toupper(static_cast<unsigned char>(localeName[i])));
    struct Code {
        const char* lang;
        std::uint16_t primary;
    };
    static const Code codes[] = {{"en", 0x09}, {"ru", 0x19}, {"de", 0x07}, {"fr", 0x0C}, {"es", 0x0A},
                                 {"pt", 0x16}, {"it", 0x10}, {"nl", 0x13}, {"da", 0x06}, {"sv", 0x1D},
                                 {"fi", 0x0B}, {"et", 0x25}, {"uk", 0x22}, {"cs", 0x05}, {"hu", 0x0E},
                                 {"ro", 0x18}, {"ca", 0x03}, {"eu", 0x2D}, {"af", 0x36}, {"zh", 0x04},
                                 {"id", 0x21}, {"ms", 0x3E}, {"is", 0x0F}};
    for (const Code& c : codes) {
        if (lang != c.lang)
            continue;
        unsigned sub = 1;
        if (c.primary == 0x16)
            sub = country == "BR" ? 1 : 2;
        else if (c.primary == 0x04)
            sub = (country == "CN" || country == "SG") ? 2 : 1;
        return static_cast<std::uint16_t>(c.primary | (sub << 10));
    }
    return 0;
}

void SetUpdaterLanguage(TupSelfUpdaterLanguage language) {
    if (language >= 1 && language <= kUpdaterLanguages)
        gLanguage = language;
}

TupSelfUpdaterLanguage UpdaterLanguage() { return static_cast<TupSelfUpdaterLanguage>(gLanguage.load()); }

std::string UpdaterMessage(int n) { return UpdaterString(41000 + 50 * (gLanguage.load() - 1) + n); }
