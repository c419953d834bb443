// A page in Debian's headless Chromium (SwiftShader, muted) whose console lines the
// browser tests wait on: a wait is answered by the console event that brings its line,
// never by looking again after a pause. fail() prints FAIL with the last lines and exits 1.
import { createRequire } from 'module';
import path from 'path';

const require = createRequire(path.join(process.env.KESTRUNE_NODE_MODULES, 'x.js'));
const puppeteer = require('puppeteer-core');

export async function openPage(width, height, extraArgs = []) {
    const browser = await puppeteer.launch({
        executablePath: process.env.KESTRUNE_CHROMIUM, headless: true,
        args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
               '--mute-audio', ...extraArgs] });
    const lines = [];
    const waiters = new Set();
    function fail(text) {
        console.log('FAIL: ' + text);
        console.log('--- page output (last lines):\n' + lines.slice(-15).join('\n'));
        process.exit(1);
    }
    const page = await browser.newPage();
    await page.setViewport({ width, height });
    page.on('console', m => {
        lines.push(...m.text().split('\n'));
        for (const look of [...waiters]) look();
    });
    page.on('pageerror', e => fail('page error: ' + e.message));
    // The index of the first line from `from` on that matches, once it has come; fails
    // with `what` after a minute without it.
    const lineFrom = (pattern, from, what) => new Promise(resolve => {
        const deadline = setTimeout(() => fail(what), 60000);
        const look = () => {
            const i = lines.findIndex((l, k) => k >= from && pattern.test(l));
            if (i < 0) return;
            clearTimeout(deadline);
            waiters.delete(look);
            resolve(i);
        };
        waiters.add(look);
        look();
    });
    return { browser, page, lines, fail, lineFrom };
}
