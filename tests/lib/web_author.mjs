// Author mode in the web build (?edit), in Debian's headless Chromium (puppeteer-core) on
// the fixed-step clock, for tests/integration/web_author.sh:
//   node web_author.mjs BASE_URL
// The same author keys act and print their "edit:" lines; the page's title says the time,
// scene and frame; a seek puts the music's audio element at the show's time, and a pause
// pauses it. Any failed check prints FAIL and exits 1.
import { openPage } from './page_lines.mjs';

const [base] = process.argv.slice(2);
// The music's audio elements play without a click of their own.
const { browser, page, lines, fail, lineFrom } =
    await openPage(640, 360, ['--autoplay-policy=no-user-gesture-required']);
const until = (fn, what, arg, timeout = 60000) =>
    page.waitForFunction(fn, { timeout, polling: 50 }, arg).catch(() => fail(what));
// The next "edit:" line matching the pattern, after those seen so far.
let seen = 0;
async function editLine(pattern) {
    const i = await lineFrom(new RegExp('^edit: ' + pattern), seen, `no line /^edit: ${pattern}/`);
    seen = i + 1;
    return lines[i];
}
const music = () => page.evaluate(() => Module.kestruneAudio.playing());

await page.goto(`${base}/?KESTRUNE_FPS=60&edit`);
await until(() => !document.getElementById('start').disabled, 'no start button', null);
await page.click('#start');
const first = await editLine('author mode: ');
console.log(first);
await page.keyboard.press('p');
const paused = await editLine('paused at frame (\\d+)');
await page.keyboard.press('}');
const seek = await editLine('seek \\+10 s to frame (\\d+) \\(([0-9.]+) s, scene 1\\)');
const [, frame, seconds] = seek.match(/frame (\d+) \(([0-9.]+) s/);
if (+frame !== +paused.match(/frame (\d+)/)[1] + 600) fail(`the seek from "${paused}" went to frame ${frame}`);
let m = await music();
if (!m || m.file !== 'bgmusic.mp3' || !m.paused || Math.abs(m.time - seconds) > 0.05)
    fail(`after a paused seek to ${seconds} s the music is ${JSON.stringify(m)}`);
const title = await page.title();
if (!new RegExp(`^Kestrune \\[edit\\] 0:[0-9.]+ scene 1 frame ${frame} \\(paused\\)$`).test(title))
    fail(`the title is "${title}"`);
await page.keyboard.press('2');
const two = await editLine('start of scene 2: frame (\\d+)');
m = await music();
if (!m || m.file !== 'lvl2.mp3' || !m.paused || m.time > 0.05)
    fail(`at scene 2's start the music is ${JSON.stringify(m)}`);
await page.keyboard.press('p');
await editLine('playing at');
await until(() => { const p = Module.kestruneAudio.playing(); return p && !p.paused && p.time > 0.2; },
            'the music does not play on after the pause', null);
await page.keyboard.press('k');
await editLine('frame \\d+ checksum [0-9a-f]{16}');
console.log(`edit: ${paused.slice(6)}; ${seek.slice(6)}; ${two.slice(6)}; title "${title}"`);
console.log('PASS: author mode in the browser');
await browser.close();
