<?php
/*
 * Ksiêga goœci: zapis i odczyt wpisów z pliku tekstowego.
 * Wersja 1.2, 2003
 */
define('PLIK_WPISOW', 'dane/wpisy.txt');
$maxWpisow = 25;   # ile wpisów na stronê

function oczysc($tekst)
{
    $tekst = trim(strip_tags($tekst));
    return str_replace(array("\r\n", "\n"), '<br>', htmlspecialchars($tekst));
}

function zapiszWpis($autor, $tresc)
{
    global $maxWpisow;
    $linia = date('Y-m-d H:i') . "|$autor|" . oczysc($tresc) . "\n";
    $f = @fopen(PLIK_WPISOW, 'a');
    if (!$f) {
        die("Nie mogê otworzyæ pliku {$_SERVER['DOCUMENT_ROOT']}/dane");
    }
    fwrite($f, $linia);
    fclose($f);
    return true;
}

if (isset($_POST['autor']) && $_POST['autor'] != '') {
    zapiszWpis($_POST['autor'], $_POST['tresc']);
    header("Location: $PHP_SELF?strona=1");
    exit;
}

$wpisy = file_exists(PLIK_WPISOW) ? file(PLIK_WPISOW) : array();
$strona = isset($_GET['strona']) ? (int)$_GET['strona'] : 1;
$od = ($strona - 1) * $maxWpisow;
for ($i = $od; $i < $od + $maxWpisow && $i < count($wpisy); $i++) {
    list($data, $autor, $tresc) = explode('|', $wpisy[$i]);
    echo "<div class=\"wpis\"><b>$autor</b> ($data):<br>$tresc</div>\n";
    echo "<p>Wpis nr {$i} z " . count($wpisy) . ", obiekt $this->tytul, klucz $wpisy[0]</p>";
}
$opis = 'Ten tekst ma \'apostrofy\' i ukoœnik \\';
$wielo = "Napis w dwóch
liniach z $zmienna i \"cudzys³owem\"";
$x = 0x1F + 1.5e3 - 10 % 3;
$x <<= 2; $y = $x >> 1; $z = $x <=> $y; $t = $a ?? $b;
$lista = array('a' => 1, 'b' => 2);
foreach ($lista as $k => $v) { print "$k=$v "; }
// koniec
?>
