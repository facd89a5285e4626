<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>AboutBox</name>
    <message>
        <source>tavik Vornel のﾊﾞｰｼﾞｮﾝ情報(&amp;A)...</source>
        <translation>&amp;About tavik Vornel...</translation>
    </message>
    <message>
        <source>tavik Vornelのﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>About tavik Vornel</translation>
    </message>
    <message>
        <source>クリックするとvorn developersのREADMEを開きます</source>
        <translation>Click to open the README of vorn developers</translation>
    </message>
    <message>
        <source>このプログラムはvorn developersが作りました</source>
        <translation>This program was made by vorn developers</translation>
    </message>
    <message>
        <source>あなたのVornelとして是非ご使用ください(^^)</source>
        <translation>Make it your own Vornel, and enjoy (^^)</translation>
    </message>
    <message>
        <source>vorn developersのアイコンです</source>
        <translation>The icon of vorn developers</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>EffectChoice</name>
    <message>
        <source>DMO Audio効果フィルタの取得に失敗しました。(%1)</source>
        <translation>Could not list the audio effect filters. (%1)</translation>
    </message>
</context>
<context>
    <name>EffectSelectDialog</name>
    <message>
        <source>再生時の効果の選択</source>
        <translation>Choose the Effects to Play Through</translation>
    </message>
    <message>
        <source>使用する</source>
        <translation>Use</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>プロパティの表示</source>
        <translation>Properties</translation>
    </message>
    <message>
        <source>情報の表示</source>
        <translation>Information</translation>
    </message>
</context>
<context>
    <name>MainBar</name>
    <message>
        <source>再生開始</source>
        <translation>Start playing</translation>
    </message>
    <message>
        <source>アプリケーションの終了</source>
        <translation>Quit the application</translation>
    </message>
    <message>
        <source>フォルダ／ファイル／曲目リストの選択</source>
        <translation>Choose folder, files or song list</translation>
    </message>
    <message>
        <source>フォルダ／パスの参照</source>
        <translation>Browse for a folder or files</translation>
    </message>
    <message>
        <source>F&amp;ile</source>
        <translation>F&amp;iles</translation>
    </message>
    <message>
        <source>&amp;SongList</source>
        <translation>&amp;Song List</translation>
    </message>
    <message>
        <source>&amp;Folder</source>
        <translation>&amp;Folder</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Exit</translation>
    </message>
    <message>
        <source>&amp;Play</source>
        <translation>&amp;Play</translation>
    </message>
    <message>
        <source>File select dialog</source>
        <translation>Choose Files</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>SongList select dialog</source>
        <translation>Choose a Song List</translation>
    </message>
    <message>
        <source>File list (*.lst)</source>
        <translation>Song list (*.lst)</translation>
    </message>
    <message>
        <source>Playlist (*.m3u *.m3u8 *.pls)</source>
        <translation>Playlist (*.m3u *.m3u8 *.pls)</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>Settings...</translation>
    </message>
    <message>
        <source>exit</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>ファイルまたはフォルダを選択してください。</source>
        <translation>Choose a file or folder.</translation>
    </message>
    <message>
        <source>audio file (%1)</source>
        <translation>Audio files (%1)</translation>
    </message>
</context>
<context>
    <name>OtherOptionsPage</name>
    <message>
        <source>その他</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>起動と同時に終了時と同じファイル／フォルダを再生する(&amp;P)</source>
        <translation>&amp;Play the last file or folder again at start-up</translation>
    </message>
    <message>
        <source>再生終了と同時にアプリケーションも終了する(&amp;D)</source>
        <translation>Quit when playing is &amp;done</translation>
    </message>
    <message>
        <source>タスクトレイを使用しない(&amp;T)</source>
        <translation>Don&apos;t use the system &amp;tray</translation>
    </message>
    <message>
        <source>演奏曲目リスト(&amp;S)：</source>
        <translation>&amp;Song list:</translation>
    </message>
    <message>
        <source>Playのたびに更新</source>
        <translation>New on each Play</translation>
    </message>
    <message>
        <source>前回と異なる指定の場合追加する</source>
        <translation>Add when the choice differs</translation>
    </message>
    <message>
        <source>常に追加する</source>
        <translation>Always add</translation>
    </message>
    <message>
        <source>サーチ拡張子(&amp;E)：</source>
        <translation>S&amp;earch patterns:</translation>
    </message>
    <message>
        <source>曲目リスト出力フォルダ(&amp;F)：</source>
        <translation>Song list &amp;folder:</translation>
    </message>
    <message>
        <source>接続フィルタリスト出力(&amp;L)：</source>
        <translation>Pipeline &amp;log file:</translation>
    </message>
</context>
<context>
    <name>PathDialogs</name>
    <message>
        <source>ファイルまたはフォルダを選択してください。</source>
        <translation>Choose a file or folder.</translation>
    </message>
    <message>
        <source>Filter list select dialog</source>
        <translation>Choose the Pipeline Log File</translation>
    </message>
    <message>
        <source>Filter list (*.fil)</source>
        <translation>Pipeline log (*.fil)</translation>
    </message>
    <message>
        <source>All Files(*.*) (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>%1
このファイルは存在しません。
ファイルを作成しますか?</source>
        <translation>%1
This file does not exist.
Create it?</translation>
    </message>
</context>
<context>
    <name>PlayOptionsPage</name>
    <message>
        <source>使用できるEffectフィルタがありません</source>
        <translation>No effect filters available</translation>
    </message>
    <message>
        <source>再生オプション</source>
        <translation>Play Options</translation>
    </message>
    <message>
        <source>再生時アイコン化する(&amp;I)</source>
        <translation>M&amp;inimize while playing</translation>
    </message>
    <message>
        <source>demo - 演奏時間(s)	(&amp;D)：</source>
        <translation>&amp;Demo play time (s):</translation>
    </message>
    <message>
        <source>曲間待ち時間(s)	(&amp;W)：</source>
        <translation>&amp;Wait between songs (s):</translation>
    </message>
    <message>
        <source>同じ曲をリピート再生(&amp;R)</source>
        <translation>&amp;Repeat each song</translation>
    </message>
    <message>
        <source>リピート回数 (&amp;C)：</source>
        <translation>Repeat &amp;count:</translation>
    </message>
    <message>
        <source>ランダム選曲(&amp;S)</source>
        <translation>&amp;Shuffle</translation>
    </message>
    <message>
        <source>Endlessで演奏を続ける(&amp;E)</source>
        <translation>&amp;Endless play</translation>
    </message>
    <message>
        <source>演奏する曲数 (&amp;N)：</source>
        <translation>&amp;Number of songs:</translation>
    </message>
    <message>
        <source>Effectを使用して再生する(&amp;P)</source>
        <translation>&amp;Play through effects</translation>
    </message>
</context>
<context>
    <name>PlaySequencer</name>
    <message>
        <source>検索中...</source>
        <translation>Searching...</translation>
    </message>
    <message>
        <source>検索中.....</source>
        <translation>Still searching.....</translation>
    </message>
</context>
<context>
    <name>PlayerApp</name>
    <message>
        <source>create fail.. quit.</source>
        <translation>Could not create a window; vorn ends.</translation>
    </message>
</context>
<context>
    <name>PlayerWindow</name>
    <message>
        <source>音量 %1%</source>
        <translation>Volume %1%</translation>
    </message>
    <message>
        <source>現在のリストをファイルに書き出す ...</source>
        <translation>Save the current list to a file...</translation>
    </message>
    <message>
        <source>アプリケーションの終了</source>
        <translation>Quit the application</translation>
    </message>
    <message>
        <source>Settings ...</source>
        <translation>Settings...</translation>
    </message>
    <message>
        <source>再生停止</source>
        <translation>Stop playing</translation>
    </message>
    <message>
        <source>曲の始めに戻る</source>
        <translation>Back to the start of the song</translation>
    </message>
    <message>
        <source>この曲をリストから削除する</source>
        <translation>Remove this song from the list</translation>
    </message>
    <message>
        <source>この曲が終了したら再生停止する</source>
        <translation>Stop after this song</translation>
    </message>
    <message>
        <source>選曲をする</source>
        <translation>Choose a song</translation>
    </message>
    <message>
        <source>Player</source>
        <translation>Player</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>前の曲を選択する</source>
        <translation>Previous song</translation>
    </message>
    <message>
        <source>次の曲を選択する</source>
        <translation>Next song</translation>
    </message>
    <message>
        <source>ポーズ</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>再生再開</source>
        <translation>Resume</translation>
    </message>
    <message>
        <source>クリックするとメニューが出る</source>
        <translation>Click for the menu</translation>
    </message>
</context>
<context>
    <name>PropertyEditor</name>
    <message>
        <source>Property</source>
        <translation>Properties</translation>
    </message>
</context>
<context>
    <name>SaveSongList</name>
    <message>
        <source>ファイル名が不正です</source>
        <translation>The file name is not valid.</translation>
    </message>
    <message>
        <source>曲目リストは空です。保存しません。</source>
        <translation>The song list is empty; nothing was saved.</translation>
    </message>
    <message>
        <source>%1 曲はパスにタブか改行を含む（または # で始まる）ため、書き出しませんでした。</source>
        <translation>%1 song(s) left out: their paths hold a tab or a line break (or start with #).</translation>
    </message>
    <message>
        <source>指定されたファイル(%1)が開けません。[%2]</source>
        <translation>Cannot open the file %1. [%2]</translation>
    </message>
    <message>
        <source>File list select dialog</source>
        <translation>Save the Song List</translation>
    </message>
    <message>
        <source>M3U playlist (*.m3u8)</source>
        <translation>M3U playlist (*.m3u8)</translation>
    </message>
    <message>
        <source>File list (*.lst)</source>
        <translation>Song list (*.lst)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>All files (*)</translation>
    </message>
</context>
<context>
    <name>SettingsPage</name>
    <message>
        <source>Endlessにチェックしない場合登録されている曲数分演奏終了後終了します。</source>
        <translation>Unless Endless is checked, playing ends once the songs of the list have played.</translation>
    </message>
    <message>
        <source>曲間の待機時間を指定します。０の時にはすぐに再生が開始されます。</source>
        <translation>The wait between two songs. With 0 the next song starts at once.</translation>
    </message>
    <message>
        <source>再生時間を指定します。０の時には最後まで再生します。</source>
        <translation>How long each song plays. With 0 every song plays to its end.</translation>
    </message>
    <message>
        <source>同じ曲を繰り返し再生する回数を指定します。０の時には停止するまで繰り返しつづけます。</source>
        <translation>How many times each song repeats. With 0 it repeats until you stop it.</translation>
    </message>
    <message>
        <source>再生する曲数を指定します。０の時には全ての曲を再生します。</source>
        <translation>How many songs to play. With 0 all of them play.</translation>
    </message>
</context>
<context>
    <name>SettingsSheet</name>
    <message>
        <source>tavik Vornel - settings</source>
        <translation>tavik Vornel - Settings</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>適用(&amp;A)</source>
        <translation>&amp;Apply</translation>
    </message>
</context>
</TS>
