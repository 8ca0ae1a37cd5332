// The three browser engines behind one small interface, so that every test
// of the page is written once and runs in each: Chromium (Debian's chromium)
// and Firefox (firefox-esr) driven by puppeteer-core, WebKit (WebKitGTK's
// MiniBrowser on the X display in DISPLAY) by selenium-webdriver.
//   const engine = await launch('chromium' | 'firefox' | 'webkit', modules);
//   const context = await engine.newContext({ width, height, scale, touch });  // a fresh profile
//   const page = await context.newPage();
// A page offers goto, reload, evaluate(fn, ...args), waitFor(fn, arg, timeout)
// (polls until fn returns a true value, and returns it), press(key), type,
// click(selector), tap(selector, fingers: each one's offset across; touch
// contexts), front() (the tab a player plays in), resize(width, height),
// errors() and close().
// SPDX-License-Identifier: MIT
import { createRequire } from 'node:module';
import { pathToFileURL } from 'node:url';

const CHROMIUM_FLAGS = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-sync',
    '--disable-background-networking', '--disable-component-update', '--autoplay-policy=no-user-gesture-required'];

// Touch needs the driver to emulate a touch screen; WebKitWebDriver cannot.
export const ENGINES = { chromium: { touch: true }, firefox: { touch: true }, webkit: { touch: false } };

export async function poll(check, timeout, what) {
    const end = Date.now() + timeout;
    for (;;) {
        const value = await check();
        if (value) return value;
        if (Date.now() > end) throw new Error(`timed out after ${timeout} ms waiting for ${what}`);
        await new Promise((resolve) => setTimeout(resolve, 50));
    }
}

// What every page shares: the waits, and the page's own error log (kept by
// the test server's hook, read before the page is left).
class PageBase {
    logged = [];

    // A page between two documents cannot run fn yet: it is tried again, and
    // the last such error is the one reported if time runs out.
    waitFor(fn, arg, timeout = 30000) {
        let failed = null;
        const check = () => this.evaluate(fn, arg).then((value) => ((failed = null), value), (error) => void (failed = error));
        return poll(check, timeout, String(fn)).catch((error) => Promise.reject(failed ?? error));
    }

    async collectErrors() {
        this.logged.push(...await this.evaluate(() => (window.ruvoErrors ?? []).splice(0)).catch(() => []));
    }

    errors() { return this.collectErrors().then(() => [...new Set(this.logged)]); }
    goto(url) { return this.collectErrors().then(() => this.load(url)); }
    reload() { return this.goto(null); }
    close() { return this.collectErrors().then(() => this.closePage()); }
}

// --- puppeteer-core: Chromium and Firefox --------------------------------------------
class PuppeteerPage extends PageBase {
    constructor(page) {
        super();
        this.page = page;
        page.on('console', (message) => {
            if (message.type() === 'error') this.logged.push(`${message.text()} (${message.location()?.url ?? ''})`);
        });
        page.on('pageerror', (error) => this.logged.push(error.message));
    }

    load(url) { return url === null ? this.page.reload() : this.page.goto(url); }
    evaluate(fn, ...args) { return this.page.evaluate(fn, ...args); }
    press(key) { return this.page.keyboard.press(key === 'Space' ? ' ' : key); }
    type(text) { return this.page.keyboard.type(text); }
    click(selector) { return this.page.click(selector); }

    // Fingers put on the centre of an element (each moved across by its
    // offset) and lifted again, the last one put first.
    async tap(selector, fingers = [0]) {
        const { x, y } = await this.evaluate((s) => {
            const box = document.querySelector(s).getBoundingClientRect();
            return { x: box.left + box.width / 2, y: box.top + box.height / 2 };
        }, selector);
        const touches = [];
        for (const dx of fingers) touches.push(await this.page.touchscreen.touchStart(x + dx, y));
        for (const touch of touches.reverse()) await touch.end();
    }

    front() { return this.page.bringToFront(); }
    resize(width, height) { return this.page.setViewport({ ...this.page.viewport(), width, height }); }
    closePage() { return this.page.close(); }
}

async function launchPuppeteer(name, modules) {
    // An ES module: imported (which Node 18 can do), not required.
    const { default: puppeteer } = await import(pathToFileURL(createRequire(`${modules}/`).resolve('puppeteer-core')));
    const launch = (prefs) => (name === 'chromium'
        ? puppeteer.launch({ executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium', args: CHROMIUM_FLAGS })
        : puppeteer.launch({ browser: 'firefox', executablePath: process.env.FIREFOX ?? '/usr/bin/firefox-esr',
            extraPrefsFirefox: prefs }));
    const browser = await launch({});
    // Firefox takes a touch screen from its preferences only, which hold for
    // the whole browser: a second one is started for the touch tests.
    let touchBrowser = null;
    return {
        async newContext({ width = 800, height = 500, scale = 1, touch = false } = {}) {
            const firefoxTouch = touch && name === 'firefox';
            if (firefoxTouch) touchBrowser ??= await launch({ 'ui.primaryPointerCapabilities': 1,
                'ui.allPointerCapabilities': 1, 'dom.w3c_touch_events.enabled': 1 });
            const context = await (firefoxTouch ? touchBrowser : browser).createBrowserContext();
            return {
                async newPage() {
                    const page = await context.newPage();
                    await page.setViewport({ width, height, deviceScaleFactor: scale, hasTouch: touch, isMobile: touch });
                    return new PuppeteerPage(page);
                },
                // A page that the page under test opens itself (help, in a window of its own).
                async waitForPage(pattern) {
                    const target = await context.waitForTarget((t) => pattern.test(t.url()), { timeout: 10000 });
                    return new PuppeteerPage(await target.page());
                },
                close: () => context.close(),
            };
        },
        close: () => Promise.all([touchBrowser?.close(), browser.close()]),
    };
}

// --- selenium-webdriver: WebKit ----------------------------------------------------------
class WebKitPage extends PageBase {
    constructor(context, handle) {
        super();
        Object.assign(this, { context, handle });
    }

    driver() { return this.context.switchTo(this.handle).then(() => this.context.driver); }
    load(url) { return this.driver().then((driver) => (url === null ? driver.navigate().refresh() : driver.get(url))); }

    async evaluate(fn, ...args) {
        return (await this.driver()).executeScript(`return (${fn}).apply(null, arguments);`, ...args);
    }

    // 'F2', 'Enter', 'ArrowUp', 'Space': selenium's F2, ENTER, ARROW_UP, SPACE.
    press(key) {
        return this.type(this.context.selenium.Key[key.replace(/([a-z])([A-Z])/g, '$1_$2').toUpperCase()] ?? key);
    }

    async type(text) { await (await this.driver()).actions().sendKeys(text).perform(); }

    async click(selector) {
        const driver = await this.driver();
        const origin = await driver.findElement(this.context.selenium.By.css(selector));
        await driver.actions().move({ origin }).press().release().perform();
    }

    tap() { throw new Error('WebKitWebDriver cannot emulate a touch screen'); }
    front() { return this.driver(); }

    // The window is sized so that the page inside it gets the size asked for
    // (a size set may show only at the next look: it is then asked again).
    async resize(width, height) {
        const driver = await this.driver();
        await poll(async () => {
            const [innerWidth, innerHeight] = await driver.executeScript('return [innerWidth, innerHeight]');
            if (innerWidth === width && innerHeight === height) return true;
            const rect = await driver.manage().window().getRect();
            await driver.manage().window().setRect({ width: rect.width + width - innerWidth,
                height: rect.height + height - innerHeight });
        }, 10000, `the page to be ${width} x ${height}`);
    }

    async closePage() {
        await (await this.driver()).close();
        this.context.current = null;
    }
}

// One WebKitWebDriver and one MiniBrowser session per context: a fresh,
// ephemeral profile. The scale is the display's (GDK_SCALE), whole numbers
// only; the driver starts the MiniBrowser that comes with it (WEBKIT_BROWSER
// names another).
function launchWebKit(modules) {
    const [selenium, { DriverService }, { findFreePort }] = ['', '/remote', '/net/portprober']
        .map((module) => createRequire(`${modules}/`)(`selenium-webdriver${module}`));
    const binary = process.env.WEBKIT_BROWSER;
    return { close: async () => {}, newContext: async ({ width = 800, height = 500, scale = 1 } = {}) => {
        const port = await findFreePort('127.0.0.1');
        const service = new DriverService(process.env.WEBKIT_DRIVER ?? 'WebKitWebDriver', { port, loopback: true,
            args: [`--port=${port}`], env: { ...process.env, GDK_SCALE: String(scale) } });
        const driver = await new selenium.Builder().usingServer(await service.start(20000)).withCapabilities({
            browserName: 'MiniBrowser', ...(binary && { 'webkitgtk:browserOptions': { binary, args: ['--automation'] } }),
        }).build();
        // The window the driver is in (none yet: the session's own comes first).
        const context = { selenium, driver, current: undefined };
        context.switchTo = async (handle) => {
            if (context.current !== handle) await driver.switchTo().window(handle);
            context.current = handle;
        };
        context.newPage = async () => {
            if (context.current !== undefined) await driver.switchTo().newWindow('window');
            context.current = await driver.getWindowHandle();
            const page = new WebKitPage(context, context.current);
            await page.resize(width, height);
            return page;
        };
        context.waitForPage = (pattern, known = context.current) => poll(async () => {
            for (const handle of (await driver.getAllWindowHandles()).filter((h) => h !== known)) {
                await context.switchTo(handle);
                if (pattern.test(await driver.getCurrentUrl())) return new WebKitPage(context, handle);
            }
            return null;
        }, 30000, `a window at ${pattern}`);
        context.close = () => driver.quit().catch(() => {}).then(() => service.kill());
        return context;
    } };
}

export function launch(name, modules) {
    if (!(name in ENGINES)) throw new Error(`no such engine: ${name}`);
    return name === 'webkit' ? Promise.resolve(launchWebKit(modules)) : launchPuppeteer(name, modules);
}
