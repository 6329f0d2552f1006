<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP" sourcelanguage="en">
<context>
    <name>Mirado</name>
    <message>
        <source>File(&amp;F)</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <source>Display(&amp;D)</source>
        <translation>表示(&amp;D)</translation>
    </message>
    <message>
        <source>View(&amp;V)</source>
        <translation>ビュー(&amp;V)</translation>
    </message>
    <message>
        <source>Help(&amp;H)</source>
        <translation>ヘルプ(&amp;H)</translation>
    </message>
    <message>
        <source>New</source>
        <translation>新規</translation>
    </message>
    <message>
        <source>Open(&amp;O)...</source>
        <translation>開く(&amp;O)...</translation>
    </message>
    <message>
        <source>Save(&amp;S)</source>
        <translation>上書き保存(&amp;S)</translation>
    </message>
    <message>
        <source>Printer Setting...</source>
        <translation>プリンタの設定...</translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation>印刷プレビュー</translation>
    </message>
    <message>
        <source>Print this file...</source>
        <translation>このファイルを印刷...</translation>
    </message>
    <message>
        <source>Exit(&amp;X)</source>
        <translation>終了(&amp;X)</translation>
    </message>
    <message>
        <source>About(&amp;A)...</source>
        <translation>バージョン情報(&amp;A)...</translation>
    </message>
    <message>
        <source>First File</source>
        <translation>最初のファイル</translation>
    </message>
    <message>
        <source>Prev. File</source>
        <translation>前のファイル</translation>
    </message>
    <message>
        <source>Next File</source>
        <translation>次のファイル</translation>
    </message>
    <message>
        <source>Last File</source>
        <translation>最後のファイル</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>色の設定</translation>
    </message>
    <message>
        <source>Summary...</source>
        <translation>集計...</translation>
    </message>
    <message>
        <source>Scale Labels</source>
        <translation>目盛りの数値</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>言語</translation>
    </message>
    <message>
        <source>The language changes at the next start.</source>
        <translation>言語は次回の起動時に切り替わります。</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>開く</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Open an existing document</source>
        <translation>既存のファイルを開きます</translation>
    </message>
    <message>
        <source>Save the active document</source>
        <translation>現在のファイルを保存します</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>ツールバー</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>無題</translation>
    </message>
    <message>
        <source>Print selected files</source>
        <translation>選択したファイルを印刷</translation>
    </message>
    <message>
        <source>Save to Textfile</source>
        <translation>テキストファイルに保存</translation>
    </message>
    <message>
        <source>Send to Recycle Bin</source>
        <translation>ごみ箱へ移動</translation>
    </message>
    <message>
        <source>Select all files</source>
        <translation>すべてのファイルを選択</translation>
    </message>
    <message>
        <source>Clear selection</source>
        <translation>選択を解除</translation>
    </message>
    <message>
        <source>Selection</source>
        <translation>選択</translation>
    </message>
    <message>
        <source>About Mirado</source>
        <translation>Mirado のバージョン情報</translation>
    </message>
    <message>
        <source>Mirado Version %1</source>
        <translation>Mirado バージョン %1</translation>
    </message>
    <message>
        <source>Build %1 (Qt %2)</source>
        <translation>ビルド %1 (Qt %2)</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>パラメータ</translation>
    </message>
    <message>
        <source>White</source>
        <translation>白</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>黒</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>オフ</translation>
    </message>
    <message>
        <source>On</source>
        <translation>オン</translation>
    </message>
    <message>
        <source>Press</source>
        <translation>圧力</translation>
    </message>
    <message>
        <source>Optical</source>
        <translation>光学</translation>
    </message>
    <message>
        <source>Display Interval</source>
        <translation>表示間隔</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>初期値</translation>
    </message>
    <message>
        <source>Please enter a number.</source>
        <translation>数値を入力してください。</translation>
    </message>
    <message>
        <source>Color Image</source>
        <translation>色の見本</translation>
    </message>
    <message>
        <source>Blue	</source>
        <translation>青	</translation>
    </message>
    <message>
        <source>Aqua</source>
        <translation>水色</translation>
    </message>
    <message>
        <source>LightGray</source>
        <translation>明るい灰色</translation>
    </message>
    <message>
        <source>DarkGray</source>
        <translation>暗い灰色</translation>
    </message>
    <message>
        <source>Gray</source>
        <translation>灰色</translation>
    </message>
    <message>
        <source>Olive</source>
        <translation>オリーブ</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>緑</translation>
    </message>
    <message>
        <source>Lime</source>
        <translation>ライム</translation>
    </message>
    <message>
        <source>Fuchsia</source>
        <translation>赤紫</translation>
    </message>
    <message>
        <source>Maroon</source>
        <translation>栗色</translation>
    </message>
    <message>
        <source>Navy</source>
        <translation>紺</translation>
    </message>
    <message>
        <source>Purple</source>
        <translation>紫</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>赤</translation>
    </message>
    <message>
        <source>Silver</source>
        <translation>銀</translation>
    </message>
    <message>
        <source>Teal</source>
        <translation>青緑</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>黄</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>ANIMAL No.</source>
        <translation>動物番号</translation>
    </message>
    <message>
        <source>STUDY No.</source>
        <translation>試験番号</translation>
    </message>
    <message>
        <source>WEIGHT</source>
        <translation>体重</translation>
    </message>
    <message>
        <source>SEX/AGE</source>
        <translation>性別/週齢</translation>
    </message>
    <message>
        <source>COMMENT</source>
        <translation>コメント</translation>
    </message>
    <message>
        <source>Please enter no more than %1 characters.</source>
        <translation>%1 文字以内で入力してください。</translation>
    </message>
    <message>
        <source>This text holds a character that cannot be saved in the file. Please remove it.</source>
        <translation>ファイルに保存できない文字が含まれています。削除してください。</translation>
    </message>
    <message>
        <source>Dominant</source>
        <translation>代表値</translation>
    </message>
    <message>
        <source>Mean</source>
        <translation>平均</translation>
    </message>
    <message>
        <source>Table</source>
        <translation>表</translation>
    </message>
    <message>
        <source>Encoding</source>
        <translation>文字コード</translation>
    </message>
    <message>
        <source>Japanese (CP932)</source>
        <translation>日本語 (CP932)</translation>
    </message>
    <message>
        <source>UTF-8 (with BOM)</source>
        <translation>UTF-8 (BOM付き)</translation>
    </message>
    <message>
        <source>Stored</source>
        <translation>記録値</translation>
    </message>
    <message>
        <source>Analysis S</source>
        <translation>解析 S</translation>
    </message>
    <message>
        <source>Analysis S-M</source>
        <translation>解析 S-M</translation>
    </message>
    <message>
        <source>Values</source>
        <translation>値</translation>
    </message>
    <message>
        <source>txt file (*.txt)</source>
        <translation>テキストファイル (*.txt)</translation>
    </message>
    <message>
        <source>All Files (*.*)</source>
        <translation>すべてのファイル (*.*)</translation>
    </message>
    <message>
        <source>Output to Textfile</source>
        <translation>テキストファイルへ出力</translation>
    </message>
    <message>
        <source>%1 of %2 files done</source>
        <translation>%2 ファイル中 %1 ファイル完了</translation>
    </message>
    <message>
        <source>No files selected.</source>
        <translation>ファイルが選択されていません。</translation>
    </message>
    <message>
        <source>Delete File</source>
        <translation>ファイルの削除</translation>
    </message>
    <message>
        <source>This file could not be read, so it is not saved: saving would overwrite it with an incomplete record.</source>
        <translation>このファイルは読み込めなかったため保存しません。保存すると不完全な記録で上書きされます。</translation>
    </message>
    <message>
        <source>sample %1</source>
        <translation>サンプル %1</translation>
    </message>
    <message>
        <source>optical %1</source>
        <translation>光学 %1</translation>
    </message>
    <message>
        <source>Study Summary</source>
        <translation>試験の集計</translation>
    </message>
    <message>
        <source>Animal Chart</source>
        <translation>動物別グラフ</translation>
    </message>
    <message>
        <source>All Animals</source>
        <translation>全動物</translation>
    </message>
    <message>
        <source>By session</source>
        <translation>測定日ごと</translation>
    </message>
    <message>
        <source>By animal</source>
        <translation>動物ごと</translation>
    </message>
    <message>
        <source>Save Table...</source>
        <translation>表を保存...</translation>
    </message>
    <message>
        <source>Save Chart...</source>
        <translation>グラフを保存...</translation>
    </message>
    <message>
        <source>Values:</source>
        <translation>値:</translation>
    </message>
    <message>
        <source>Groups:</source>
        <translation>集計単位:</translation>
    </message>
    <message>
        <source>Animal (study / animal):</source>
        <translation>動物 (試験 / 動物):</translation>
    </message>
    <message>
        <source>Measure:</source>
        <translation>項目:</translation>
    </message>
    <message>
        <source>Files that could not be read (they count as readings):</source>
        <translation>読み込めなかったファイル (測定数に含みます):</translation>
    </message>
    <message>
        <source>Reading files: %v of %m</source>
        <translation>ファイルの読み込み: %m 件中 %v 件</translation>
    </message>
    <message>
        <source>The files could not be summarised: %1</source>
        <translation>ファイルを集計できませんでした: %1</translation>
    </message>
    <message>
        <source>Summary of the one marked file.</source>
        <translation>選択した 1 ファイルの集計。</translation>
    </message>
    <message>
        <source>Summary of the %1 marked files.</source>
        <translation>選択した %1 ファイルの集計。</translation>
    </message>
    <message>
        <source>Summary of the one file of the list (none is marked).</source>
        <translation>一覧の 1 ファイルの集計 (選択なし)。</translation>
    </message>
    <message>
        <source>Summary of all %1 files (none is marked).</source>
        <translation>全 %1 ファイルの集計 (選択なし)。</translation>
    </message>
    <message>
        <source>CSV file</source>
        <translation>CSV ファイル</translation>
    </message>
    <message>
        <source>PNG image</source>
        <translation>PNG 画像</translation>
    </message>
    <message>
        <source>SVG image</source>
        <translation>SVG 画像</translation>
    </message>
    <message>
        <source>PDF document</source>
        <translation>PDF 文書</translation>
    </message>
    <message>
        <source>Save Table</source>
        <translation>表の保存</translation>
    </message>
    <message>
        <source>Save Chart</source>
        <translation>グラフの保存</translation>
    </message>
    <message>
        <source>Study</source>
        <translation>試験</translation>
    </message>
    <message>
        <source>Animal</source>
        <translation>動物</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日付</translation>
    </message>
    <message>
        <source>Readings</source>
        <translation>測定数</translation>
    </message>
    <message>
        <source>Complete</source>
        <translation>完全</translation>
    </message>
    <message>
        <source>SBP</source>
        <translation>収縮期血圧</translation>
    </message>
    <message>
        <source>MBP</source>
        <translation>平均血圧</translation>
    </message>
    <message>
        <source>DBP</source>
        <translation>拡張期血圧</translation>
    </message>
    <message>
        <source>HR</source>
        <translation>心拍数</translation>
    </message>
    <message>
        <source>n</source>
        <translation>n</translation>
    </message>
    <message>
        <source>mean</source>
        <translation>平均</translation>
    </message>
    <message>
        <source>SD</source>
        <translation>SD</translation>
    </message>
    <message>
        <source>SE</source>
        <translation>SE</translation>
    </message>
    <message>
        <source>min</source>
        <translation>最小</translation>
    </message>
    <message>
        <source>max</source>
        <translation>最大</translation>
    </message>
    <message>
        <source>Pressure (mmHg)</source>
        <translation>血圧 (mmHg)</translation>
    </message>
    <message>
        <source>Heart rate (beats/min)</source>
        <translation>心拍数 (拍/分)</translation>
    </message>
    <message>
        <source>Session date</source>
        <translation>測定日</translation>
    </message>
    <message>
        <source>Animal %1: means and SD per session</source>
        <translation>動物 %1: 測定日ごとの平均と SD</translation>
    </message>
    <message>
        <source>%1 of every animal: means per session</source>
        <translation>全動物の%1: 測定日ごとの平均</translation>
    </message>
    <message>
        <source>Study summary</source>
        <translation>試験の集計</translation>
    </message>
    <message>
        <source> Background Color </source>
        <translation> 背景色 </translation>
    </message>
    <message>
        <source> Changeings Alert </source>
        <translation> 変更の警告 </translation>
    </message>
    <message>
        <source> Wave Color </source>
        <translation> 波形の色 </translation>
    </message>
    <message>
        <source> Measurements </source>
        <translation> 測定値 </translation>
    </message>
    <message>
        <source>sec</source>
        <translation>秒</translation>
    </message>
    <message>
        <source>Edit(&amp;E)</source>
        <translation>編集(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>元に戻す(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>やり直し(&amp;R)</translation>
    </message>
    <message>
        <source>Revert to Original...</source>
        <translation>元のファイルに戻す...</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>変更あり</translation>
    </message>
    <message>
        <source>Move Systolic Marker</source>
        <translation>収縮期マーカーの移動</translation>
    </message>
    <message>
        <source>Move Mean Marker</source>
        <translation>平均血圧マーカーの移動</translation>
    </message>
    <message>
        <source>Edit Identification</source>
        <translation>識別情報の編集</translation>
        <source>Recent Files</source>
        <translation>最近使ったファイル</translation>
    </message>
    <message>
        <source>%1 (+1 file)</source>
        <translation>%1 (他 1 ファイル)</translation>
    </message>
    <message>
        <source>%1 (+%2 files)</source>
        <translation>%1 (他 %2 ファイル)</translation>
    </message>
    <message>
        <source>1 file of this set no longer exists and was left out.</source>
        <translation>この組の 1 ファイルはもう存在しないため除きました。</translation>
    </message>
    <message>
        <source>%1 files of this set no longer exist and were left out.</source>
        <translation>この組の %1 ファイルはもう存在しないため除きました。</translation>
    </message>
    <message>
        <source>None of the files of this set exists any more.</source>
        <translation>この組のファイルはどれももう存在しません。</translation>
    </message>
    <message>
        <source>Export Samples...</source>
        <translation>サンプルの書き出し...</translation>
    </message>
    <message>
        <source>Export Samples</source>
        <translation>サンプルの書き出し</translation>
    </message>
    <message>
        <source>Export EDF+...</source>
        <translation>EDF+ の書き出し...</translation>
    </message>
    <message>
        <source>Export EDF+</source>
        <translation>EDF+ の書き出し</translation>
    </message>
    <message>
        <source>Export EDF+ into the folder</source>
        <translation>EDF+ を書き出すフォルダー</translation>
    </message>
    <message>
        <source>EDF+ files</source>
        <translation>EDF+ ファイル</translation>
    </message>
    <message>
        <source>%1 EDF+ files written to %2</source>
        <translation>%1 個の EDF+ ファイルを %2 に書き出しました</translation>
    </message>
    <message>
        <source>Excel workbook</source>
        <translation>Excel ブック</translation>
    </message>
    <message>
        <source>CSV files</source>
        <translation>CSV ファイル</translation>
    </message>
    <message>
        <source>Samples written to %1</source>
        <translation>サンプルを %1 に書き出しました</translation>
    </message>
    <message>
        <source>%1 is one of the files in the list. Choose another file.</source>
        <translation>%1 は一覧のファイルの一つです。別のファイルを選んでください。</translation>
    </message>
    <message>
        <source>The text file could not be written: %1 (%2)</source>
        <translation>テキストファイルを書き込めませんでした: %1 (%2)</translation>
    </message>
    <message>
        <source>Settings are not saved: %1 %2.</source>
        <translation>設定は保存されません: %1 %2。</translation>
    </message>
    <message>
        <source>is a named pipe</source>
        <translation>は名前付きパイプです</translation>
    </message>
    <message>
        <source>is a device</source>
        <translation>はデバイスです</translation>
    </message>
    <message>
        <source>is a socket</source>
        <translation>はソケットです</translation>
    </message>
    <message>
        <source>is a folder</source>
        <translation>はフォルダーです</translation>
    </message>
    <message>
        <source>is not a regular file</source>
        <translation>は通常のファイルではありません</translation>
    </message>
    <message>
        <source>is larger than 1 MiB</source>
        <translation>は 1 MiB を超えています</translation>
    </message>
    <message>
        <source>cannot be examined</source>
        <translation>を調べられません</translation>
    </message>
    <message>
        <source>is a link that leads back to itself</source>
        <translation>は自分自身に戻るリンクです</translation>
    </message>
    <message>
        <source>is a link to nothing</source>
        <translation>はリンク先のないリンクです</translation>
    </message>
    <message>
        <source>The chart is saved as .pdf, .png or .svg, not as &quot;%1&quot;.</source>
        <translation>グラフは .pdf、.png、.svg のいずれかで保存します (&quot;%1&quot; は使えません)。</translation>
    </message>
    <message>
        <source>The chart could not be drawn.</source>
        <translation>グラフを描けませんでした。</translation>
    </message>
    <message>
        <source>Amplitude Up</source>
        <translation>振幅を上げる</translation>
    </message>
    <message>
        <source>Amplitude Down</source>
        <translation>振幅を下げる</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>拡大</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>縮小</translation>
    </message>
    <message>
        <source>Step Forward Automatically</source>
        <translation>自動で次へ送る</translation>
    </message>
    <message>
        <source>Step Backward Automatically</source>
        <translation>自動で前へ戻す</translation>
    </message>
    <message>
        <source>Stop Stepping</source>
        <translation>自動送りを止める</translation>
    </message>
    <message>
        <source>Fitted Curve</source>
        <translation>近似曲線</translation>
    </message>
    <message>
        <source>Stored Values</source>
        <translation>記録値</translation>
    </message>
    <message>
        <source>Edit ID</source>
        <translation>IDの編集</translation>
    </message>
    <message>
        <source>The original of this file could not be kept, so it is not saved: </source>
        <translation>このファイルの元の内容を残せなかったため、保存しません: </translation>
    </message>
    <message>
        <source>Revert to Original</source>
        <translation>元のファイルに戻す</translation>
    </message>
    <message>
        <source>Replace this file by its original? Every change saved since is lost.</source>
        <translation>このファイルを元のファイルで置き換えますか? その後に保存した変更はすべて失われます。</translation>
    </message>
    <message>
        <source>The original could not be restored: </source>
        <translation>元のファイルを戻せませんでした: </translation>
    </message>
    <message>
        <source>Save changes to %1?</source>
        <translation>%1 への変更を保存しますか?</translation>
    </message>
    <message>
        <source>Error moveToTrash : </source>
        <translation>ごみ箱に移せませんでした: </translation>
    </message>
    <message>
        <source>Not writable [ %s ]　Check drive type(write only drive?), File attribute(Write Protect?) etc.</source>
        <translation>書き込めません [ %s ]　ドライブの種類(書き込み専用のドライブ?)やファイルの属性(書き込み禁止?)などを確かめてください。</translation>
    </message>
    <message>
        <source>DATE&amp;TIME: </source>
        <translation>日時 (DATE&amp;TIME): </translation>
    </message>
    <message>
        <source>Condition</source>
        <translation>測定条件</translation>
    </message>
    <message>
        <source>Animal No.</source>
        <translation>動物 No.</translation>
    </message>
    <message>
        <source>Measurement</source>
        <translation>測定結果</translation>
    </message>
    <message>
        <source>Sense</source>
        <translation>感度</translation>
    </message>
    <message>
        <source>Base</source>
        <translation>ベース</translation>
    </message>
    <message>
        <source>Sense: the sensitivity setting of the optical sensor for this recording (0 to 7).</source>
        <translation>感度: この記録での光センサーの感度設定 (0〜7)。</translation>
    </message>
    <message>
        <source>Base: the optical base, the lowest pulse-wave value before the first beat.</source>
        <translation>ベース: 光学ベース値。最初の拍より前の脈波の最小値です。</translation>
    </message>
    <message>
        <source>Press: the pressure the cuff was inflated to, in mmHg.</source>
        <translation>圧力: カフを加圧した圧力 (mmHg)。</translation>
    </message>
    <message>
        <source>M-S: the time from marker S (systolic) to marker M (mean), in milliseconds.</source>
        <translation>M-S: マーカー S (収縮期) からマーカー M (平均) までの時間 (ミリ秒)。</translation>
    </message>
    <message>
        <source>Lo: the pulse wave is too weak: no usable beats were found.</source>
        <translation>Lo: 脈波が弱すぎて、使える拍が見つかりませんでした。</translation>
    </message>
    <message>
        <source>Hi: the pulse wave is too strong: the optical signal went over its limit again and again.</source>
        <translation>Hi: 脈波が強すぎて、光信号が何度も上限を超えました。</translation>
    </message>
    <message>
        <source>Err1: irregular beats, or the pulse collapsed.</source>
        <translation>Err1: 拍が不規則か、脈波が途切れました。</translation>
    </message>
    <message>
        <source>Err2: too few beats around the largest pulse.</source>
        <translation>Err2: 最大の脈波の前後の拍が少なすぎます。</translation>
    </message>
    <message>
        <source>Err3: no usable curve or maximum could be fitted to the pulses.</source>
        <translation>Err3: 脈波に使える曲線または最大値を当てはめられませんでした。</translation>
    </message>
    <message>
        <source>Err4: the cuff deflated too slowly or too fast.</source>
        <translation>Err4: カフの減圧が遅すぎるか速すぎました。</translation>
    </message>
    <message>
        <source>No recordings are open.</source>
        <translation>記録が開かれていません。</translation>
    </message>
    <message>
        <source>Open files with File &gt; Open (Ctrl+O),</source>
        <translation>ファイル &gt; 開く (Ctrl+O) でファイルを開くか、</translation>
    </message>
    <message>
        <source>drop them on this window,</source>
        <translation>このウィンドウにドロップするか、</translation>
    </message>
    <message>
        <source>or pick a set from File &gt; Recent Files.</source>
        <translation>ファイル &gt; 最近使ったファイル から選んでください。</translation>
    </message>
    <message>
        <source>Keyboard Shortcuts</source>
        <translation>キーボード ショートカット</translation>
    </message>
    <message>
        <source>Key</source>
        <translation>キー</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>動作</translation>
    </message>
    <message>
        <source>New: close the list of files</source>
        <translation>新規: ファイルの一覧を閉じる</translation>
    </message>
    <message>
        <source>Open files</source>
        <translation>ファイルを開く</translation>
    </message>
    <message>
        <source>Save the current file</source>
        <translation>現在のファイルを保存</translation>
    </message>
    <message>
        <source>Print this file (the marked files when the file list was clicked last)</source>
        <translation>このファイルを印刷 (最後にファイル一覧をクリックしたときは印の付いたファイル)</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>元に戻す</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>やり直し</translation>
    </message>
    <message>
        <source>Edit the identification texts (ID)</source>
        <translation>識別テキスト (ID) の編集</translation>
    </message>
    <message>
        <source>First file of the list</source>
        <translation>一覧の最初のファイル</translation>
    </message>
    <message>
        <source>Last file of the list</source>
        <translation>一覧の最後のファイル</translation>
    </message>
    <message>
        <source>A page of the file list back</source>
        <translation>ファイル一覧を 1 ページ戻る</translation>
    </message>
    <message>
        <source>A page of the file list on</source>
        <translation>ファイル一覧を 1 ページ進む</translation>
    </message>
    <message>
        <source>Mark or unmark the current file</source>
        <translation>現在のファイルの印を付ける/外す</translation>
    </message>
    <message>
        <source>Fitted curve on or off</source>
        <translation>近似曲線の表示/非表示</translation>
    </message>
    <message>
        <source>Wave view: travel a tenth of the view</source>
        <translation>波形: 表示幅の 1/10 だけ移動</translation>
    </message>
    <message>
        <source>Wave view: travel</source>
        <translation>波形: 移動</translation>
    </message>
    <message>
        <source>Wave view: zoom</source>
        <translation>波形: 拡大/縮小</translation>
    </message>
    <message>
        <source>Carrying a marker: move it one sample</source>
        <translation>マーカー移動中: 1 サンプル動かす</translation>
    </message>
    <message>
        <source>Carrying a marker: move it ten samples</source>
        <translation>マーカー移動中: 10 サンプル動かす</translation>
    </message>
    <message>
        <source>Carrying a marker: drop it</source>
        <translation>マーカー移動中: 置く</translation>
    </message>
    <message>
        <source>Carrying a marker: put it back</source>
        <translation>マーカー移動中: 元に戻す</translation>
    </message>
    <message>
        <source>File list: mark every file from the current one</source>
        <translation>ファイル一覧: 現在のファイルからすべてに印を付ける</translation>
    </message>
    <message>
        <source>Summary window: copy the selected cells</source>
        <translation>集計ウィンドウ: 選択したセルをコピー</translation>
    </message>
    <message>
        <source>Summary window: close it</source>
        <translation>集計ウィンドウ: 閉じる</translation>
    </message>
    <message>
        <source>Save As...</source>
        <translation>名前を付けて保存...</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>名前を付けて保存</translation>
    </message>
    <message>
        <source>Reload</source>
        <translation>読み直す</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <translation>上書きする</translation>
    </message>
    <message>
        <source>This file was changed or replaced since it was read.</source>
        <translation>このファイルは読み込んだ後に変更されたか、置き換えられました。</translation>
    </message>
    <message>
        <source>Reload it (your corrections are lost), overwrite it, or save your corrections under another name?</source>
        <translation>読み直しますか (修正は失われます)、上書きしますか、それとも修正を別の名前で保存しますか?</translation>
    </message>
    <message>
        <source>The file is not saved: </source>
        <translation>ファイルは保存されていません: </translation>
    </message>
    <message>
        <source>Save All</source>
        <translation>すべて保存</translation>
    </message>
    <message>
        <source>Save every file with unsaved changes</source>
        <translation>未保存の変更があるファイルをすべて保存します</translation>
    </message>
    <message>
        <source>Unsaved changes</source>
        <translation>未保存の変更あり</translation>
    </message>
    <message>
        <source>Save changes to these files?</source>
        <translation>次のファイルへの変更を保存しますか?</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>ほか %1 件</translation>
    </message>
    <message>
        <source>These files have unsaved changes, which are lost in the trash. Send them to the trash?</source>
        <translation>次のファイルには未保存の変更があり、ごみ箱に移すと失われます。ごみ箱に移しますか?</translation>
    </message>
    <message>
        <source>Its unsaved changes are lost too.</source>
        <translation>未保存の変更も失われます。</translation>
    </message>
    <message>
        <source>Marked files left out of the means because they could not be read: %1</source>
        <translation>読めなかったため平均から除いた選択ファイル: %1</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>更新</translation>
    </message>
    <message>
        <source>Read the files again</source>
        <translation>ファイルを読み直す</translation>
    </message>
    <message>
        <source> dpi</source>
        <translation> dpi</translation>
    </message>
    <message>
        <source> vs </source>
        <translation> 対 </translation>
    </message>
    <message>
        <source>%1 change from %2, mean ± SEM</source>
        <translation>%1 の %2 からの変化、平均 ± SEM</translation>
    </message>
    <message>
        <source>%1 per session, group mean ± SEM</source>
        <translation>%1 の測定日ごとの群平均 ± SEM</translation>
    </message>
    <message>
        <source>%1 x %2 pixels</source>
        <translation>%1 x %2 ピクセル</translation>
    </message>
    <message>
        <source>ANOVA</source>
        <translation>分散分析</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>自動</translation>
    </message>
    <message>
        <source>By date</source>
        <translation>日付順</translation>
    </message>
    <message>
        <source>By number</source>
        <translation>番号順</translation>
    </message>
    <message>
        <source>Change from baseline:</source>
        <translation>ベースラインからの変化:</translation>
    </message>
    <message>
        <source>Control group:</source>
        <translation>対照群:</translation>
    </message>
    <message>
        <source>Each animal</source>
        <translation>各動物</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>群</translation>
    </message>
    <message>
        <source>Groups</source>
        <translation>群</translation>
    </message>
    <message>
        <source>Groups...</source>
        <translation>群...</translation>
    </message>
    <message>
        <source>HR axis:</source>
        <translation>心拍数の軸:</translation>
    </message>
    <message>
        <source>Left out of the ANOVA: %1</source>
        <translation>分散分析から除外: %1</translation>
    </message>
    <message>
        <source>Left out, no value in the baseline session: %1</source>
        <translation>ベースラインの値がないため除外: %1</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>最大</translation>
    </message>
    <message>
        <source>Measure</source>
        <translation>項目</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>最小</translation>
    </message>
    <message>
        <source>On paper</source>
        <translation>用紙上の大きさ</translation>
    </message>
    <message>
        <source>Pressure axis:</source>
        <translation>血圧の軸:</translation>
    </message>
    <message>
        <source>SEM</source>
        <translation>SEM</translation>
    </message>
    <message>
        <source>Saved size:</source>
        <translation>保存する大きさ:</translation>
    </message>
    <message>
        <source>Session</source>
        <translation>測定回</translation>
    </message>
    <message>
        <source>Sessions:</source>
        <translation>測定回:</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>統計</translation>
    </message>
    <message>
        <source>Term or session</source>
        <translation>項または測定日</translation>
    </message>
    <message>
        <source>Test</source>
        <translation>検定</translation>
    </message>
    <message>
        <source>The chart would be %1 x %2 pixels; at most %3 are drawn along a side.</source>
        <translation>グラフが %1 x %2 ピクセルになります。一辺は %3 ピクセルまでです。</translation>
    </message>
    <message>
        <source>The chart's resolution must be %1 to %2 dpi.</source>
        <translation>グラフの解像度は %1 から %2 dpi にしてください。</translation>
    </message>
    <message>
        <source>The chart's width and height must be %1 to %2 mm.</source>
        <translation>グラフの幅と高さは %1 から %2 mm にしてください。</translation>
    </message>
    <message>
        <source>The group of each animal, saved as %1</source>
        <translation>各動物の群 (%1 に保存)</translation>
    </message>
    <message>
        <source>Welch</source>
        <translation>Welch</translation>
    </message>
    <message>
        <source>beats/min</source>
        <translation>拍/分</translation>
    </message>
    <message>
        <source>df</source>
        <translation>自由度</translation>
    </message>
    <message>
        <source>mm at</source>
        <translation>mm、</translation>
    </message>
    <message>
        <source>Change in %1 (%2)</source>
        <translation>%1 の変化 (%2)</translation>
    </message>
    <message>
        <source>%1 %2 / %3 (no value on %4)</source>
        <translation>%1 %2 / %3 (%4 の値なし)</translation>
    </message>
    <message>
        <source>The groups file could not be read: %1</source>
        <translation>群ファイルを読めませんでした: %1</translation>
    </message>
    <message>
        <source>Review Log</source>
        <translation>レビューログ</translation>
    </message>
    <message>
        <source>The file was written, but the change could not be added to the review log: </source>
        <translation>ファイルは書き込まれましたが、変更をレビューログに追加できませんでした: </translation>
    </message>
    <message>
        <source>Save Report...</source>
        <translation>報告書を保存...</translation>
    </message>
    <message>
        <source>Save Report</source>
        <translation>報告書の保存</translation>
    </message>
    <message>
        <source>Acceptance profile: %1</source>
        <translation>採用プロファイル: %1</translation>
    </message>
    <message>
        <source>The chosen profile was not found; all complete readings count: %1</source>
        <translation>選択したプロファイルが見つからないため、すべての完全な測定値を集計します: %1</translation>
    </message>
    <message>
        <source>JSON Lines file</source>
        <translation>JSON Lines ファイル</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message>
        <source>&amp;Accept Reading</source>
        <translation>測定を採用(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Clear Decision</source>
        <translation>判定を取り消し(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;History...</source>
        <translation>履歴(&amp;H)...</translation>
    </message>
    <message>
        <source>&amp;Next Reading After a Decision</source>
        <translation>判定後に次の測定へ(&amp;N)</translation>
    </message>
    <message>
        <source>&amp;Reject Reading...</source>
        <translation>測定を除外(&amp;R)...</translation>
    </message>
    <message>
        <source>Accept %1</source>
        <translation>%1 を採用</translation>
    </message>
    <message>
        <source>Accepted</source>
        <translation>採用</translation>
    </message>
    <message>
        <source>Acclimation</source>
        <translation>馴化</translation>
    </message>
    <message>
        <source>All</source>
        <translation>すべて</translation>
    </message>
    <message>
        <source>By</source>
        <translation>判定者</translation>
    </message>
    <message>
        <source>Changes</source>
        <translation>変更</translation>
    </message>
    <message>
        <source>Clear Decision on %1</source>
        <translation>%1 の判定を取り消し</translation>
    </message>
    <message>
        <source>Corrections</source>
        <translation>修正</translation>
    </message>
    <message>
        <source>Damaged</source>
        <translation>破損</translation>
    </message>
    <message>
        <source>Deviation</source>
        <translation>偏差</translation>
    </message>
    <message>
        <source>File</source>
        <translation>ファイル</translation>
    </message>
    <message>
        <source>History of %1</source>
        <translation>%1 の履歴</translation>
    </message>
    <message>
        <source>Incomplete</source>
        <translation>不完全</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>メモ</translation>
    </message>
    <message>
        <source>Now: %1 (%2)</source>
        <translation>現在: %1 (%2)</translation>
    </message>
    <message>
        <source>Out of range</source>
        <translation>範囲外</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>プロファイル</translation>
    </message>
    <message>
        <source>Reading %1 of %2...</source>
        <translation>%2 件中 %1 件を読み込み中...</translation>
    </message>
    <message>
        <source>Reading the files...</source>
        <translation>ファイルを読み込み中...</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>理由</translation>
    </message>
    <message>
        <source>Recorded</source>
        <translation>記録数</translation>
    </message>
    <message>
        <source>Redo Decision</source>
        <translation>判定をやり直し</translation>
    </message>
    <message>
        <source>Reject %1</source>
        <translation>%1 を除外</translation>
    </message>
    <message>
        <source>Reject Reading</source>
        <translation>測定の除外</translation>
    </message>
    <message>
        <source>Rejected</source>
        <translation>除外</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>結果</translation>
    </message>
    <message>
        <source>Review</source>
        <translation>レビュー</translation>
    </message>
    <message>
        <source>Saved</source>
        <translation>保存済み</translation>
    </message>
    <message>
        <source>Session rejected</source>
        <translation>セッション除外</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>状態</translation>
    </message>
    <message>
        <source>Study %1, animal %2, %3</source>
        <translation>試験 %1、動物 %2、%3</translation>
    </message>
    <message>
        <source>The files are still being read.</source>
        <translation>ファイルはまだ読み込み中です。</translation>
    </message>
    <message>
        <source>The review log holds no events of this file.</source>
        <translation>レビューログにこのファイルの記録はありません。</translation>
    </message>
    <message>
        <source>This reading joins no session.</source>
        <translation>この測定はどのセッションにも属しません。</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>時刻</translation>
    </message>
    <message>
        <source>Training</source>
        <translation>訓練</translation>
    </message>
    <message>
        <source>Undo Decision</source>
        <translation>判定を元に戻す</translation>
    </message>
    <message>
        <source>Unsaved</source>
        <translation>未保存</translation>
    </message>
    <message>
        <source>User</source>
        <translation>ユーザー</translation>
    </message>
    <message>
        <source>Why is this reading rejected?</source>
        <translation>この測定を除外する理由は?</translation>
    </message>
    <message>
        <source>by hand</source>
        <translation>手動</translation>
    </message>
    <message>
        <source>by rule</source>
        <translation>規則</translation>
    </message>
    <message>
        <source>of them by hand</source>
        <translation>うち手動</translation>
    </message>
    <message>
        <source>The decision could not be written to the review log: </source>
        <translation>判定をレビューログに書き込めませんでした: </translation>
    </message>
    <message>
        <source>Movement</source>
        <translation>体動</translation>
    </message>
    <message>
        <source>No pulse</source>
        <translation>脈なし</translation>
    </message>
    <message>
        <source>Cuff leak</source>
        <translation>カフ漏れ</translation>
    </message>
    <message>
        <source>Irregular rhythm</source>
        <translation>不整脈</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>その他</translation>
    </message>
    <message>
        <source>All complete readings</source>
        <translation>すべての完全な測定</translation>
    </message>
    <message>
        <source>Acclimation 5, then ±2 SD</source>
        <translation>馴化 5 回、その後 ±2 SD</translation>
    </message>
    <message>
        <source>Session SD at most 15 mmHg</source>
        <translation>セッション SD 15 mmHg 以下</translation>
    </message>
    <message>
        <source>Sets with CV at most 20 %</source>
        <translation>CV 20 % 以下のセット</translation>
    </message>
    <message>
        <source>Screening limits 40–210 mmHg, ±2 SD, at least 8 per session</source>
        <translation>スクリーニング範囲 40–210 mmHg、±2 SD、セッションあたり 8 以上</translation>
    </message>
    <message>
        <source>Review shown: accept the current reading</source>
        <translation>レビュー表示中: 現在の測定を採用</translation>
    </message>
    <message>
        <source>Review shown: reject the current reading</source>
        <translation>レビュー表示中: 現在の測定を除外</translation>
    </message>
    <message>
        <source>Review shown: clear the decision on it</source>
        <translation>レビュー表示中: その判定を取り消し</translation>
    </message>
    <message>
        <source>Reason list: pick the reason</source>
        <translation>理由一覧: 理由を選ぶ</translation>
    </message>
    <message>
        <source>Undo or redo a decision</source>
        <translation>判定を元に戻す、またはやり直す</translation>
    </message>
</context>
</TS>
