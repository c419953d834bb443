// Drives the web build in Debian's headless Chromium or in Debian's Firefox ESR
// (puppeteer-core, no browser of its own) on the fixed-step clock, for
// tests/integration/web.sh, which compares what it writes with the desktop's:
//   node web_test.mjs BASE_URL OUT_DIR
// KESTRUNE_BROWSER=firefox takes Firefox (KESTRUNE_FIREFOX, its binary), which offers
// WebGL2 here only with a window: run it inside a display (scripts/with-xvfb).
// OUT_DIR receives web-frames.txt (the show's "frame F:" lines without drawing),
// scene1.png and scene2.png (frames 601 and 7201), resized.png (scene 2 after the window
// grew to 800x450) and download/campath.xml (a recording).
// Any failed check prints FAIL and exits 1.
import { createRequire } from 'module';
import fs from 'fs';
import path from 'path';

const require = createRequire(path.join(process.env.KESTRUNE_NODE_MODULES, 'x.js'));
const puppeteer = require('puppeteer-core');
const [base, out] = process.argv.slice(2);
const firefox = process.env.KESTRUNE_BROWSER === 'firefox';
const download = path.join(out, 'download');
fs.mkdirSync(download, { recursive: true });
const browser = firefox ? await puppeteer.launch({
    browser: 'firefox', executablePath: process.env.KESTRUNE_FIREFOX, headless: false,
    extraPrefsFirefox: {
        'media.autoplay.default': 0, 'media.autoplay.blocking_policy': 0,
        'webgl.force-enabled': true,
        // Full screen, which the start click asks for, would hold the window's size.
        'full-screen-api.enabled': false,
        // Downloads go straight to the test's folder, unasked.
        'browser.download.folderList': 2, 'browser.download.dir': download,
        'browser.download.useDownloadDir': true, 'browser.download.always_ask_before_handling_new_types': false,
        'browser.helperApps.neverAsk.saveToDisk': 'text/xml,application/xml,application/octet-stream' } })
    : await puppeteer.launch({
    executablePath: process.env.KESTRUNE_CHROMIUM, headless: true,
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
           '--mute-audio'] });
let page, lines;

function fail(text) {
    console.log('FAIL: ' + text);
    console.log('--- page output (last lines):\n' + (lines || []).slice(-15).join('\n'));
    process.exit(1);
}
const check = (ok, text) => ok || fail(text);
const frameLines = () => lines.filter(l => /^frame \d+: /.test(l));
const until = (fn, what, arg, timeout = 60000) =>
    page.waitForFunction(fn, { timeout, polling: 50 }, arg).catch(() => fail(what));

// A fresh page on the fixed step without drawing, started by a real click.
async function open(query) {
    page = await browser.newPage();
    await page.setViewport({ width: 640, height: 360 });
    lines = [];
    page.on('console', m => lines.push(m.text()));
    page.on('pageerror', e => fail('page error: ' + e.message));
    await page.goto(`${base}/?KESTRUNE_FPS=60&KESTRUNE_NO_DRAW=1&${query}`);
    await until(() => !document.getElementById('start').disabled, 'no start button', null);
    await page.click('#start');
}
async function pausedAt(frame) {
    await until(f => Module.pausedFrame === f, `no pause at frame ${frame}`, frame);
}
async function pauseNext(frame) {
    await page.evaluate(f => { Module._kestrune_pause_at(f); Module._kestrune_resume(); }, frame);
    await pausedAt(frame);
}
// The music element playing FILE, its time moving on.
async function musicPlays(file) {
    await until(f => { const p = Module.kestruneAudio.playing(); return p && p.file === f && p.time > 0; },
                `${file} does not play`, file);
    const t = await page.evaluate(() => Module.kestruneAudio.playing().time);
    await until(t0 => Module.kestruneAudio.playing().time > t0 + 0.2, `${file} stands still`, t);
}
// The show's picture, without the page's passing note (a lost sound output) over it.
async function shot() {
    await page.evaluate(() => { document.getElementById('note').style.visibility = 'hidden'; });
    return page.screenshot({ type: 'png' });
}
async function key(k) { await page.keyboard.press(k); }
async function ended() {
    await until(() => Module.endStatus === 0, 'the show did not end with status 0', null, 120000);
    const text = await page.$eval('#screen', e => e.style.display !== 'none' && e.innerText);
    check(/has ended/.test(text) && /Play again/.test(text), 'no end screen: ' + text);
    check(await page.evaluate(() => { const p = Module.kestruneAudio.playing(); return !p || p.paused; }),
          'the music goes on after the end');
}

// The whole show: two drawn frames, the music and its switch, the frame lines, the end.
await open('pause=601');
await pausedAt(601);
await musicPlays('bgmusic.mp3');
fs.writeFileSync(path.join(out, 'scene1.png'), await shot());
await pauseNext(7201);
await musicPlays('lvl2.mp3');
fs.writeFileSync(path.join(out, 'scene2.png'), await shot());
await page.evaluate(() => Module._kestrune_resume());
await ended();
fs.writeFileSync(path.join(out, 'web-frames.txt'), frameLines().join('\n') + '\n');
// The music played, so no problem may be shown. A browser without a sound output (Firefox
// then reports an error on the playing element) says so in a note: the show plays silent.
const problems = await page.$$eval('#problems li', items => items.map(i => i.textContent));
check(problems.length === 0, 'a false alarm: ' + problems.join(' | '));
const said = await page.$eval('#note', e => e.textContent);
check(!said || /^no sound: .*; the show plays silent$/.test(said), 'a wrong note: ' + said);
console.log('note shown: ' + (said || 'none'));
await page.close();

// The keys, each seen to act on the next drawn frame.
await open('pause=300');
await pausedAt(300);
const atStart = await shot();
await key('c');
await pauseNext(301);
const ownView = await shot();
check(!ownView.equals(atStart), 'c: the view did not leave the path');
await page.keyboard.down('ArrowUp');
await pauseNext(330);
await page.keyboard.up('ArrowUp');
const forward = await shot();
check(!forward.equals(ownView), 'Up: the camera did not move');
await page.keyboard.down('ArrowLeft');
await pauseNext(345);
await page.keyboard.up('ArrowLeft');
check(!(await shot()).equals(forward), 'Left: the camera did not rise');
// A held key is one press: the browser's repeats are dropped.
await page.keyboard.down('o');
await page.keyboard.down('o');
await page.keyboard.up('o');
check(frameLines().filter(l => / key o$/.test(l)).length === 1, 'a held o acted more than once');
// Recording two nodes, offered as a download.
if (!firefox) {
    const cdp = await page.createCDPSession();
    await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: download });
}
await key('q');
await key('w');
await page.keyboard.down('ArrowDown');
await pauseNext(360);
await page.keyboard.up('ArrowDown');
await key('w');
await key('e');
const saved = path.join(download, 'campath.xml');
// The file's arrival in the folder, or 30 s without it.
await new Promise(resolve => {
    const watcher = fs.watch(download, () => { if (fs.existsSync(saved)) done(); });
    const deadline = setTimeout(done, 30000);
    function done() { clearTimeout(deadline); watcher.close(); resolve(); }
    if (fs.existsSync(saved)) done();
});
check(fs.existsSync(saved), 'the recording was not offered as a download');
await key('c'); // back on the path, which scene 2 then follows
await key('s');
await pauseNext(362);
await musicPlays('lvl2.mp3');
const glowOff = await shot();
await key('b'); // its line also brings out the last one (the page gets whole lines)
await pauseNext(363);
check(!(await shot()).equals(glowOff), 'b: the glow did not come on');
const switched = frameLines().find(l => / key s$/.test(l));
check(switched && frameLines().includes(switched.replace('key s', 'lvl2.mp3 starts')),
      's: lvl2.mp3 did not start on the frame of the key');
// A larger window: the targets and the glow follow the canvas to its corners.
await page.setViewport({ width: 800, height: 450 });
await until(() => Module.canvas.width === 800 && Module.canvas.height === 450, 'the canvas kept its size', null);
await pauseNext(364);
fs.writeFileSync(path.join(out, 'resized.png'), await shot());
await key('Escape');
await ended();
check(frameLines().some(l => /: music stops$/.test(l)), 'Escape: the music did not stop');
await browser.close();
console.log(`web (${firefox ? 'Firefox' : 'Chromium'}): show, music, keys and recording passed`);
