<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru">
<context>
    <name>ColourSchemeProblems</name>
    <message>
        <source>файл пуст</source>
        <translation>the file is empty</translation>
    </message>
    <message>
        <source>файл слишком велик для цветовой схемы</source>
        <translation>the file is too large for a colour scheme</translation>
    </message>
    <message>
        <source>строки кончаются на CR LF, а не на LF</source>
        <translation>lines end in CR LF, not LF</translation>
    </message>
    <message>
        <source>после последней строки цветов нет перевода строки</source>
        <translation>no line break after the last colour line</translation>
    </message>
    <message>
        <source>ожидается «ColourScheme» и имя схемы</source>
        <translation>“ColourScheme” and the scheme name expected</translation>
    </message>
    <message>
        <source>имя схемы пусто или содержит управляющие символы</source>
        <translation>the scheme name is empty or holds control characters</translation>
    </message>
    <message>
        <source>ожидается ключ «%1» в колонке из 8 знаков</source>
        <translation>key “%1” expected in a column of 8 characters</translation>
    </message>
    <message>
        <source>неверное значение ключа «%1»</source>
        <translation>bad value of key “%1”</translation>
    </message>
    <message>
        <source>ожидается строка «Data»</source>
        <translation>line “Data” expected</translation>
    </message>
    <message>
        <source>ожидаются четыре трёхзначных числа через пробел</source>
        <translation>four three-digit numbers separated by spaces expected</translation>
    </message>
    <message>
        <source>составляющая цвета больше 255</source>
        <translation>a colour component is over 255</translation>
    </message>
    <message>
        <source>файл кончается в заголовке</source>
        <translation>the file ends in the header</translation>
    </message>
    <message>
        <source>файл кончается: строк цветов %1 из %2</source>
        <translation>the file ends: %1 of %2 colour lines</translation>
    </message>
    <message>
        <source>лишние строки после %1-й строки цветов</source>
        <translation>extra lines after colour line %1</translation>
    </message>
    <message>
        <source>Length %1, а данные занимают %2 байт</source>
        <translation>Length %1, but the data take %2 bytes</translation>
    </message>
    <message>
        <source>CRC %1, а у данных CRC %2</source>
        <translation>CRC %1, but the data have CRC %2</translation>
    </message>
    <message>
        <source>строка %1: %2</source>
        <translation>line %1: %2</translation>
    </message>
    <message>
        <source>Схема «%1»: длина или CRC не совпадают с данными — телефон может её отвергнуть</source>
        <translation>Scheme “%1”: length or CRC do not match the data; the phone may refuse it</translation>
    </message>
    <message>
        <source>Схема «%1»: %2</source>
        <translation>Scheme “%1”: %2</translation>
    </message>
</context>
<context>
    <name>ColourSchemeWindow</name>
    <message>
        <source>Цветовая схема</source>
        <translation>Colour scheme</translation>
    </message>
    <message>
        <source>Имя схемы:</source>
        <translation>Scheme name:</translation>
    </message>
    <message>
        <source>Цвет</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>Красный</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>Зелёный</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>Синий</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>Четвёртое</source>
        <translation>Fourth</translation>
    </message>
    <message>
        <source>Двойной щелчок — выбрать цвет</source>
        <translation>Double-click to choose a colour</translation>
    </message>
    <message>
        <source>Что не так в схеме:</source>
        <translation>What is wrong with the scheme:</translation>
    </message>
    <message>
        <source>Открыть…</source>
        <translation>Open…</translation>
    </message>
    <message>
        <source>По умолчанию</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>Сохранить как…</source>
        <translation>Save as…</translation>
    </message>
    <message>
        <source>Использовать в теме</source>
        <translation>Use in theme</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Length %1, CRC %2</source>
        <translation>Length %1, CRC %2</translation>
    </message>
    <message>
        <source>Цвет строки %1</source>
        <translation>Colour of row %1</translation>
    </message>
    <message>
        <source>Открыть цветовую схему</source>
        <translation>Open colour scheme</translation>
    </message>
    <message>
        <source>Сохранить цветовую схему</source>
        <translation>Save colour scheme</translation>
    </message>
</context>
<context>
    <name>FileFilters</name>
    <message>
        <source>Музыкальные файлы</source>
        <translation>Music files</translation>
    </message>
    <message>
        <source>Все допустимые форматы</source>
        <translation>All supported formats</translation>
    </message>
    <message>
        <source>All</source>
        <translation>All</translation>
    </message>
    <message>
        <source>Цветовая схема (*.col)</source>
        <translation>Colour scheme (*.col)</translation>
    </message>
    <message>
        <source>GIF-Format</source>
        <translation>GIF-Format</translation>
    </message>
    <message>
        <source>Portable Network Graphics</source>
        <translation>Portable Network Graphics</translation>
    </message>
    <message>
        <source>JPEG Image File</source>
        <translation>JPEG Image File</translation>
    </message>
    <message>
        <source>Bitmaps</source>
        <translation>Bitmaps</translation>
    </message>
    <message>
        <source>Icons</source>
        <translation>Icons</translation>
    </message>
</context>
<context>
    <name>OverviewRow</name>
    <message>
        <source>уменьшено</source>
        <translation>scaled down</translation>
    </message>
    <message>
        <source>(без описания)</source>
        <translation>(no description)</translation>
    </message>
    <message>
        <source>Остановить</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Прослушать</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>Показано уменьшенным: настоящий размер %1 × %2</source>
        <translation>Shown scaled down: actual size %1 × %2</translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <source>About Benq-Siemens EL71 Kestrova</source>
        <translation>About Benq-Siemens EL71 Kestrova</translation>
    </message>
    <message>
        <source>Benq-Siemens EL71 Kestrova by Morvane</source>
        <translation>Benq-Siemens EL71 Kestrova by Morvane</translation>
    </message>
    <message>
        <source>Version 1.0.3.0 (beta-version)</source>
        <translation>Version 1.0.3.0 (beta-version)</translation>
    </message>
    <message>
        <source>Дата релиза:</source>
        <translation>Release date:</translation>
    </message>
    <message>
        <source>Автор:</source>
        <translation>Author:</translation>
    </message>
    <message>
        <source>Comments:</source>
        <translation>Comments:</translation>
    </message>
    <message>
        <source>Данная версия предназначена для тестирования на совместимость с телефонами Benq-Siemens E71 и EL71.</source>
        <translation>This version is meant for compatibility testing with the Benq-Siemens E71 and EL71 phones.</translation>
    </message>
    <message>
        <source>В настоящей версии программы не реализовано много возможностей тем для телефонов Benq-Siemens. В частности, нет возможности изменить цветовую схему. Если кто-то владеет информацией по поводу расшифровки цветовой схемы и хочет помочь развитию проекта, обращайтесь к автору. :-)</source>
        <translation>This version of the program lacks many theme features of Benq-Siemens phones. In particular, the colour scheme cannot be changed. If you know how the colour scheme is encoded and want to help the project, please contact the author. :-)</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Файл справки отсутствует!!!</source>
        <translation>The help file is missing!!!</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>Не хватает элементов темы!</source>
        <translation>Not enough theme elements!</translation>
    </message>
    <message>
        <source>Не все настройки темы установлены!</source>
        <translation>Not all theme settings are set!</translation>
    </message>
    <message>
        <source>В процессе...</source>
        <translation>In progress...</translation>
    </message>
    <message>
        <source>Сделано!!!</source>
        <translation>Done!!!</translation>
    </message>
    <message>
        <source>Вас приветствует Kestrova для Benq-Siemens EL71!</source>
        <translation>Kestrova for Benq-Siemens EL71 welcomes you!</translation>
    </message>
    <message>
        <source>Выберите файл цветовой схемы</source>
        <translation>Choose a colour scheme file</translation>
    </message>
    <message>
        <source>Benq-Siemens EL71 Kestrova by Morvane (beta version)</source>
        <translation>Benq-Siemens EL71 Kestrova by Morvane (beta version)</translation>
    </message>
    <message>
        <source>Создать тему</source>
        <translation>Create theme</translation>
    </message>
    <message>
        <source>Сайт автора</source>
        <translation>Author&apos;s site</translation>
    </message>
    <message>
        <source>Фан-клуб e/el71</source>
        <translation>Fan club e/el71</translation>
    </message>
    <message>
        <source>Настройки</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>&amp;Файл</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Выход</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>&amp;Тема</source>
        <translation>&amp;Theme</translation>
    </message>
    <message>
        <source>Цветовая схема…</source>
        <translation>Colour scheme…</translation>
    </message>
    <message>
        <source>Папка с темами</source>
        <translation>Themes folder</translation>
    </message>
    <message>
        <source>С&amp;правка</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Помощь</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>О программе</source>
        <translation>About</translation>
    </message>
    <message>
        <source>&amp;Язык</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>Название:</source>
        <translation>Title:</translation>
    </message>
    <message>
        <source>Автор:</source>
        <translation>Author:</translation>
    </message>
    <message>
        <source>Дата создания:</source>
        <translation>Creation date:</translation>
    </message>
    <message>
        <source>Версия темы:</source>
        <translation>Theme version:</translation>
    </message>
    <message>
        <source>Разрешение</source>
        <translation>Resolution</translation>
    </message>
    <message>
        <source>Продавец:</source>
        <translation>Vendor:</translation>
    </message>
    <message>
        <source>Цена:</source>
        <translation>Price:</translation>
    </message>
    <message>
        <source>URL:</source>
        <translation>URL:</translation>
    </message>
    <message>
        <source>Мелодии</source>
        <translation>Melodies</translation>
    </message>
    <message>
        <source>Картинки</source>
        <translation>Pictures</translation>
    </message>
    <message>
        <source>Анимация</source>
        <translation>Animation</translation>
    </message>
    <message>
        <source>Цветовая схема</source>
        <translation>Colour scheme</translation>
    </message>
    <message>
        <source>Использовать цветовую схему по умолчанию (из темы DeepBlue)</source>
        <translation>Use the default colour scheme (from the DeepBlue theme)</translation>
    </message>
    <message>
        <source>Файл цветовой схемы:</source>
        <translation>Colour scheme file:</translation>
    </message>
    <message>
        <source>Выберите файл...</source>
        <translation>Choose a file...</translation>
    </message>
    <message>
        <source>В теме нет описания config.spc: файлы разложены по элементам по их именам.</source>
        <translation>The theme has no config.spc descriptor: its files were matched to the elements by their names.</translation>
    </message>
    <message>
        <source>Описание config.spc не читается (%1): файлы разложены по элементам по их именам.</source>
        <translation>The config.spc descriptor cannot be read (%1): the files were matched to the elements by their names.</translation>
    </message>
    <message>
        <source>Файлы, которые не относятся ни к одному элементу: %1.</source>
        <translation>Files that belong to no element: %1.</translation>
    </message>
    <message>
        <source>Файлы, которые описание называет, но которых нет в теме: %1.</source>
        <translation>Files the descriptor names but the theme does not hold: %1.</translation>
    </message>
    <message>
        <source>Элементы без файла: %1.</source>
        <translation>Elements without a file: %1.</translation>
    </message>
    <message>
        <source>Открыть тему</source>
        <translation>Open theme</translation>
    </message>
    <message>
        <source>Тема EL71 (*.sdt)</source>
        <translation>EL71 theme (*.sdt)</translation>
    </message>
    <message>
        <source>Открыть тему и отказаться от текущих изменений?</source>
        <translation>Open the theme and discard the current changes?</translation>
    </message>
    <message>
        <source>&amp;Открыть тему…</source>
        <translation>&amp;Open theme…</translation>
    </message>
    <message>
        <source>Обзор темы…</source>
        <translation>Theme overview…</translation>
    </message>
</context>
<context>
    <name>ThemeOverview</name>
    <message>
        <source>Мелодии</source>
        <translation>Melodies</translation>
    </message>
    <message>
        <source>Картинки</source>
        <translation>Pictures</translation>
    </message>
    <message>
        <source>Анимация</source>
        <translation>Animation</translation>
    </message>
    <message>
        <source>Обзор темы</source>
        <translation>Theme overview</translation>
    </message>
    <message>
        <source>Экран ожидания</source>
        <translation>Standby screen</translation>
    </message>
    <message>
        <source>Приблизительный вид: составлен из картинок по положениям элементов, а не нарисован самим телефоном.</source>
        <translation>An approximation: composed from the pictures at the elements&apos; positions, not drawn by the phone itself.</translation>
    </message>
    <message>
        <source>Не удалось воспроизвести «%1»: %2</source>
        <translation>Could not play &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>%1 × %2</source>
        <translation>%1 × %2</translation>
    </message>
    <message>
        <source>%1 Б</source>
        <translation>%1 B</translation>
    </message>
    <message>
        <source>Файл не читается: %1.</source>
        <translation>The file cannot be read: %1.</translation>
    </message>
    <message>
        <source>Это не обычный файл.</source>
        <translation>This is not a regular file.</translation>
    </message>
    <message>
        <source>Файл пуст.</source>
        <translation>The file is empty.</translation>
    </message>
    <message>
        <source>Файл не читается как картинка.</source>
        <translation>The file cannot be decoded as a picture.</translation>
    </message>
    <message>
        <source>Данные картинки повреждены или обрываются.</source>
        <translation>The picture data are damaged or cut short.</translation>
    </message>
    <message>
        <source>Это не MIDI, не AAC (ADTS) и не MP3.</source>
        <translation>This is neither MIDI, nor AAC (ADTS), nor MP3.</translation>
    </message>
    <message>
        <source>Содержимое в формате %1, а у имени файла нет расширения.</source>
        <translation>The content is %1, but the file name has no extension.</translation>
    </message>
    <message>
        <source>Содержимое в формате %1, а имя файла оканчивается на «.%2».</source>
        <translation>The content is %1, but the file name ends in &quot;.%2&quot;.</translation>
    </message>
    <message>
        <source>Выходит за экран %1 справа на %2 пикс.; телефон это обрежет.</source>
        <translation>Reaches %2 px beyond the %1 screen on the right; the phone cuts it off.</translation>
    </message>
    <message>
        <source>Выходит за экран %1 снизу на %2 пикс.; телефон это обрежет.</source>
        <translation>Reaches %2 px beyond the %1 screen at the bottom; the phone cuts it off.</translation>
    </message>
    <message>
        <source>Выходит за экран %1 справа на %2 пикс. и снизу на %3 пикс.; телефон это обрежет.</source>
        <translation>Reaches %2 px beyond the %1 screen on the right and %3 px at the bottom; the phone cuts it off.</translation>
    </message>
    <message>
        <source>В анимации всего один кадр.</source>
        <translation>The animation has one frame only.</translation>
    </message>
    <message>
        <source>Обои %1, а не %2: телефон показывает их от левого верхнего угла экрана, меньшие оставят поля, большие обрежутся.</source>
        <translation>The wallpaper is %1, not %2: the phone shows it from the screen&apos;s top-left corner, so a smaller one leaves a border and a larger one is cut.</translation>
    </message>
    <message>
        <source>Файл не выбран.</source>
        <translation>No file chosen.</translation>
    </message>
    <message>
        <source>кадров: %1</source>
        <translation>frames: %1</translation>
    </message>
    <message>
        <source>Ошибок: %1, предупреждений: %2, замечаний: %3, не выбрано: %4</source>
        <translation>Errors: %1, warnings: %2, notes: %3, not chosen: %4</translation>
    </message>
</context>
</TS>
